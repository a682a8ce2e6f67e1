#pragma once

#include <QString>
#include <optional>

// The ID3 version 1 tag in the last 128 bytes of a song file.
struct Id3v1Tag {
    QString title;   // 30 bytes
    QString artist;  // 30
    QString album;   // 30
    QString year;    // 4
    QString comment; // 30
};

// Fields are Latin-1 with blanks removed at both ends (NUL padding stays).
// No tag when the file is missing, shorter than 128 bytes or lacks "TAG".
std::optional<Id3v1Tag> readId3v1(const QString& path);
