#pragma once

#include <QWidget>

class QStyleOptionFrame;

// A read-only box for a clock that changes many times a second. It looks like a
// read-only line edit, but the inside of its frame is an opaque face of its own:
// a new text repaints that face alone, nothing behind the box, and the same text
// again repaints nothing.
class ClockBox : public QWidget {
    Q_OBJECT

public:
    explicit ClockBox(const QString& text = {}, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Face;
    void initStyleOption(QStyleOptionFrame* option) const;
    QSize fromContents(int width, int height) const;
    void placeFace();

    Face* face_;
};
