#pragma once

#include <QImage>
#include <QSize>

class QPainter;
class QRectF;

// The wide logo of the game: a record with a note beside the name, drawn here
// rather than shipped as a picture.
void paintLogo(QPainter& painter, const QRectF& rect);
QImage vondrixLogo(const QSize& size = QSize(880, 400));
