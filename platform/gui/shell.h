#pragma once

#include <QString>

// Opens a web address or a mail link with the desktop's default handler.
// Only the operation "open" is known; the other arguments are kept for the callers' sake.
void shellopen(const QString& operation, const QString& file, const QString& parameters = {},
               const QString& folder = {}, qint32 showCommand = 1);
