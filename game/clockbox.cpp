#include "game/clockbox.h"

#include <QEvent>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionFrame>
#include <utility>

namespace {
// The text's margins inside the frame, as a line edit keeps them.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// The face lies this far inside the frame's contents, clear of the frame's inner
// shade.
constexpr int kFaceInset = 1;

// Digits and separators keep their shapes whatever stands beside them, so such a
// text is drawn glyph by glyph, without a text layout.
bool plain(QStringView text) {
    for (QChar c : text)
        if ((c < u'0' || c > u'9') && c != u'.' && c != u',' && c != u':') return false;
    return true;
}

} // namespace

// The inside of the frame: base colour and the text, placed as a line edit places
// it, so the box looks the same.
class ClockBox::Face : public QWidget {
public:
    explicit Face(ClockBox* box) : QWidget(box) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        layout_.setTextFormat(Qt::PlainText);
    }

    const QString& text() const { return text_; }
    void setText(const QString& text) {
        if (text == text_) return;
        text_ = text;
        width_ = -1;
        // Painted at once: a posted update would wake the event loop a second time
        // on each tick of a fast clock.
        repaint();
    }
    Qt::Alignment alignment = Qt::AlignLeading | Qt::AlignVCenter;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette& pal = palette();
        painter.fillRect(rect(), pal.base());
        if (text_.isEmpty()) return;
        if (width_ < 0) prepare();
        const int lineHeight = fontMetrics().height();
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment);
        // Placed in the frame's contents, of which the face leaves out a rim.
        const int contentsHeight = height() + 2 * kFaceInset;
        int y = (contentsHeight - lineHeight + 1) / 2;
        if (align & Qt::AlignTop) y = kVerticalMargin;
        if (align & Qt::AlignBottom) y = contentsHeight - lineHeight - kVerticalMargin;
        const int lineWidth = width() + 2 * kFaceInset - 2 * kHorizontalMargin;
        int scroll = 0; // a text too wide shows its end
        if (width_ > lineWidth)
            scroll = width_ - lineWidth;
        else if (align & Qt::AlignRight)
            scroll = width_ - lineWidth + 1;
        else if (align & Qt::AlignHCenter)
            scroll = (width_ - lineWidth) / 2;
        const QPoint topLeft(kHorizontalMargin - scroll - kFaceInset, y - kFaceInset);
        painter.setPen(pal.text().color());
        if (glyphs_.isEmpty())
            painter.drawStaticText(topLeft, layout_);
        else
            painter.drawGlyphRun(topLeft + QPointF(0, glyphs_.rawFont().ascent()), glyphs_);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) width_ = -1;
        QWidget::changeEvent(event);
    }

private:
    // Lays the text out for drawing and measures it, once per text and font.
    void prepare() {
        glyphs_ = QGlyphRun();
        if (plain(text_)) {
            if (font() != rawFontOf_ || !rawFont_.isValid()) {
                rawFontOf_ = font();
                rawFont_ = QRawFont::fromFont(rawFontOf_);
            }
            const QList<quint32> indexes = rawFont_.glyphIndexesForString(text_);
            if (rawFont_.isValid() && !indexes.contains(0)) {
                QList<QPointF> positions = rawFont_.advancesForGlyphIndexes(indexes);
                qreal x = 0;
                for (QPointF& p : positions)
                    x += std::exchange(p, QPointF(x, 0)).x();
                glyphs_.setRawFont(rawFont_);
                glyphs_.setGlyphIndexes(indexes);
                glyphs_.setPositions(positions);
                width_ = qRound(x) + 1;
                return;
            }
        }
        layout_.setText(text_);
        layout_.prepare(QTransform(), font());
        width_ = qRound(layout_.size().width()) + 1;
    }

    QString text_;
    int width_ = -1;     // as a line edit measures it; -1 until prepared
    QGlyphRun glyphs_;   // a plain text's glyphs
    QStaticText layout_; // any other text
    QRawFont rawFont_;   // the font of the glyphs
    QFont rawFontOf_;
};

ClockBox::ClockBox(const QString& text, QWidget* parent) : QWidget(parent), face_(new Face(this)) {
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    setFocusPolicy(Qt::NoFocus);
    face_->setText(text);
}

QString ClockBox::text() const {
    return face_->text();
}

void ClockBox::setText(const QString& text) {
    face_->setText(text);
}

Qt::Alignment ClockBox::alignment() const {
    return face_->alignment;
}

void ClockBox::setAlignment(Qt::Alignment alignment) {
    face_->alignment = alignment;
    face_->update();
}

void ClockBox::initStyleOption(QStyleOptionFrame* option) const {
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    option->features = QStyleOptionFrame::None;
}

QSize ClockBox::fromContents(int width, int height) const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize ClockBox::sizeHint() const {
    ensurePolished();
    const QFontMetrics fm(font());
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    return fromContents(fm.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin,
                        qMax(fm.height(), qMax(14, icon - 2)) + 2 * kVerticalMargin);
}

QSize ClockBox::minimumSizeHint() const {
    ensurePolished();
    const QFontMetrics fm(font());
    return fromContents(fm.maxWidth(), fm.height() + qMax(2 * kVerticalMargin, fm.leading()));
}

void ClockBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

void ClockBox::placeFace() {
    QStyleOptionFrame option;
    initStyleOption(&option);
    face_->setGeometry(style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                           .adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset));
}

void ClockBox::resizeEvent(QResizeEvent*) {
    placeFace();
}

void ClockBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
        placeFace();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}
