#pragma once

#include <QString>

// settings.ini: sections "[name]" holding lines "key=value", CR LF line ends,
// 8-bit text. Section and key names match without regard to case. Every call
// opens and closes the file itself.
//
// When the file cannot be written, the text that would have been written is
// kept in memory for the rest of the run (readini of that path then reads it)
// and the user is told once.

// The value of the key in the section, "" when the file, section or key is missing.
QString readini(const QString& path, const QString& section, const QString& key);

// Sets the key in the section, adding the section or the key when missing.
void writeini(const QString& path, const QString& section, const QString& key,
              const QString& value);
