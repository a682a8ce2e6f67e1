#pragma once

#include <QByteArray>
#include <QVariantList>
#include <functional>
#include <optional>

// Writes values into a statement where its "?" marks stand (outside quotes,
// backquotes and comments), in order: NULL for a null value, numbers in digits,
// bytes in hexadecimal, and everything else as a text literal made by literal
// (the text in UTF-8 between quotes, escaped for the session). No value can end
// its literal, so none can change the statement. nullopt when the number of marks
// and of values differ.
std::optional<QByteArray> bindValues(const QByteArray& sql, const QVariantList& values,
                                     const std::function<QByteArray(const QByteArray&)>& literal);
