#pragma once

#include <QLabel>

// A label that reports a click, for the link-like lines of the online window.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
