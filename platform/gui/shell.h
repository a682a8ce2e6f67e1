#pragma once

#include <QString>
#include <functional>

// Opens a web address or a mail link with the desktop's default handler.
// Only the operation "open" is known; the other arguments are kept for the callers' sake.
void shellopen(const QString& operation, const QString& file, const QString& parameters = {},
               const QString& folder = {}, qint32 showCommand = 1);

// Tests install a sink that receives the operation and the link instead of the
// desktop; an empty function restores the desktop.
using ShellOpenSink = std::function<void(const QString& operation, const QString& file)>;
void setShellOpenSink(ShellOpenSink sink);
