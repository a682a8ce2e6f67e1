#pragma once

#include <QString>
#include <QStringList>

// Extended M3U playlists.
//
// The file is read whole. Text that is valid UTF-8 is taken as UTF-8, anything
// else as Latin-1. Lines end at CR LF; only a file without any CR LF but with LF
// is split at LF instead. The first line must be exactly "#EXTM3U" (a byte order
// mark makes it fail).
//
// Paths: "\" and "/" both separate folders. The playlist folder is the playlist's
// path up to and including its last separator. A song line resolves as follows:
//   \\server\share\x    unchanged (network path)
//   \x                  drive of the playlist folder + line ("E:" + "\x");
//                       for a playlist on this system (folder begins with "/"):
//                       "/x" with "\" turned into "/"
//   /x                  unchanged (absolute path here)
//   C:\x                unchanged (path with a drive)
//   anything else       playlist folder + line; for a playlist on this system the
//                       line's "\" become "/"
// A song's title without #EXTINF is its file name (after the last "\" or "/")
// cut before its last ".".

// Reads the playlist into paths and titles (same positions). Returns false without
// a message when the file is missing, has fewer than four lines or lacks the
// "#EXTM3U" line; other failures show a message and return false. On failure both
// lists stay as they were.
bool LoadM3U(const QString& strFilename, QStringList& strFilePaths, QStringList& strNames);

// The folder of a playlist path, with its last separator ("" when it has none).
QString m3uFolder(const QString& playlistPath);
// One song line resolved against the playlist folder.
QString m3uResolvePath(const QString& folder, const QString& line);
