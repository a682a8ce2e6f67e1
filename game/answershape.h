#pragma once

#include <QWidget>

// The answer shape of a player tile: a rounded frame whose border colour shows
// the player's answer. Colours are Windows colour values (0x00BBGGRR).
class AnswerShape : public QWidget {
    Q_OBJECT

public:
    explicit AnswerShape(QWidget* parent = nullptr);

    void setBorderColor(qint32 colour);
    qint32 borderColor() const { return borderColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint32 borderColor_ = 0;
};

// A Windows colour value (0x00BBGGRR) as a QColor.
QColor vbColor(qint32 colour);

// The colours the game uses, as Windows colour values.
constexpr qint32 kColourBlue = 0xFF0000;
constexpr qint32 kColourOrange = 0x0080FF;
constexpr qint32 kColourGreen = 0x00FF00;
constexpr qint32 kColourYellow = 0x00FFFF;
constexpr qint32 kColourBlack = 0x000000;
constexpr qint32 kColourLightGreen = 0x80FF80;
constexpr qint32 kColourRed = 0x0000FF;
// The answer colour of answer n (1 blue, 2 orange, 3 green, 4 yellow, else black).
qint32 answerColour(qint32 antwoord);
