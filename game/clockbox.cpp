#include "game/clockbox.h"

#include <QEvent>
#include <QPainter>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
// The text's margins inside the frame, as a line edit keeps them.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// The face lies this far inside the frame's contents, clear of the frame's inner
// shade.
constexpr int kFaceInset = 1;
} // namespace

// The inside of the frame: base colour and the text, placed as a line edit places
// it, so the box looks the same.
class ClockBox::Face : public QWidget {
public:
    explicit Face(ClockBox* box) : QWidget(box) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        text_.setTextFormat(Qt::PlainText);
    }

    QString text() const { return text_.text(); }
    void setText(const QString& text) {
        if (text == text_.text()) return;
        text_.setText(text);
        width_ = -1;
        update();
    }
    Qt::Alignment alignment = Qt::AlignLeading | Qt::AlignVCenter;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette& pal = palette();
        painter.fillRect(rect(), pal.base());
        if (text_.text().isEmpty()) return;
        const QFontMetrics fm = fontMetrics();
        if (width_ < 0) width_ = fm.horizontalAdvance(text_.text()) + 1;
        const int lineHeight = qMax(fm.boundingRect(text_.text()).height(), fm.height());
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
        painter.setPen(pal.text().color());
        painter.drawStaticText(kHorizontalMargin - scroll - kFaceInset, y - kFaceInset, text_);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) width_ = -1;
        QWidget::changeEvent(event);
    }

private:
    QStaticText text_;
    int width_ = -1;
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
