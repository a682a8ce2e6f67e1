#pragma once

#include <QByteArray>
#include <QVariantList>
#include <functional>
#include <optional>

// Writes values into a statement where its "?" marks stand (outside quotes,
// backquotes and comments), in order: NULL for a null value (also a null text, byte
// array, date or time), numbers in digits, bytes in hexadecimal, and everything else
// as a text literal made by literal (the text in UTF-8 between quotes, escaped for
// the session). No value can end its literal, so none can change the statement.
// backslashEscapes: whether a backslash in the statement's quoted texts escapes the
// next character, as the session's SQL mode has it. nullopt when the number of marks
// and of values differ.
std::optional<QByteArray> bindValues(const QByteArray& sql, const QVariantList& values,
                                     const std::function<QByteArray(const QByteArray&)>& literal,
                                     bool backslashEscapes = true);
