#include "game/Form6.h"

#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "common/settings.h"
#include "game/Form4.h"
#include "lobby/frmmulti.h"
#include "platform/gui/closeless.h"
#include "platform/gui/windowinstance.h"
#include "platform/programfolder.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <algorithm>

qint16 laatstekeyboardspeler = 0;

namespace {
WindowInstance<Form6>& current() {
    static WindowInstance<Form6> window;
    return window;
}

constexpr qint16 kNoButton = 16;

// A key is taken only when its character can stand as a value in settings.ini
// as it is: no control characters (they would break or vanish from the line),
// no "[" (the file ends a section at it) and nothing outside the file's 8-bit
// character set.
bool storableKey(const QString& text) {
    if (text.size() != 1) return false;
    const char16_t c = text.at(0).unicode();
    return c >= 0x20 && c != u'[' && !(c >= 0x7f && c <= 0x9f) && c <= 0xff;
}

// Four answer buttons on a pad.
QPixmap picture() {
    QPixmap pixmap(168, 72);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 70), 2));
    painter.setBrush(QColor(215, 218, 225));
    painter.drawRoundedRect(QRectF(2, 8, 164, 56), 24, 24);
    const QColor colours[4] = {QColor(220, 60, 60), QColor(60, 140, 220), QColor(240, 190, 40),
                               QColor(60, 170, 90)};
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < 4; ++i) {
        const QRectF button(18 + i * 36, 22, 28, 28);
        painter.setPen(QPen(QColor(60, 60, 70), 1.5));
        painter.setBrush(colours[i]);
        painter.drawEllipse(button);
        painter.setPen(Qt::white);
        painter.drawText(button, Qt::AlignCenter, QString::number(i + 1));
    }
    return pixmap;
}
} // namespace

Form6& Form6::instance() {
    return current().get();
}

bool Form6::exists() {
    return current().exists();
}

void Form6::unload() {
    Form6* window = current().take();
    if (!window) return;
    window->Timer1->stop();
    window->Form_Unload();
    window->hide();
    // The last player of the set-up wizard has the buttons: on to loading the playlist.
    if (window->laatste == QLatin1String("ja")) Form4::instance().show();
    // Deleted later: unload runs inside the window's own key and timer handlers.
    window->deleteLater();
}

Form6::Form6(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Controls"));
    setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(12);
    for (int i = 0; i < 4; ++i) {
        prompt[i] = new QLabel(QStringLiteral("Press a button to use answer %1:").arg(i + 1), this);
        prompt[i]->setObjectName(QStringLiteral("prompt(%1)").arg(i));
        txtknop[i] = new QLineEdit(this);
        txtknop[i]->setObjectName(QStringLiteral("txtknop(%1)").arg(i));
        txtknop[i]->setFixedWidth(48);
        txtknop[i]->setAlignment(Qt::AlignCenter);
        txtknop[i]->setFocusPolicy(Qt::NoFocus);
        // The window keeps its size while prompts and boxes appear.
        for (QWidget* widget :
             {static_cast<QWidget*>(prompt[i]), static_cast<QWidget*>(txtknop[i])}) {
            QSizePolicy policy = widget->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            widget->setSizePolicy(policy);
        }
        layout->addWidget(prompt[i], i, 0);
        layout->addWidget(txtknop[i], i, 1);
    }
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("picture"));
    image->setPixmap(picture());
    image->setAlignment(Qt::AlignCenter);
    layout->addWidget(image, 4, 0, 1, 2);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &Form6::Timer1_Timer);

    restart();
    setFixedSize(sizeHint());
}

void Form6::Form_Load() {
    RemoveCloseMenuItem(this);
}

void Form6::keyboards(qint16 spelernr, qint16 invoer) {
    Q_UNUSED(invoer);
    restart();
    aantalkeyboard = 1;
    spelernr_ = spelernr;
    laatstekeyboardspeler = spelernr;
    Timer1->stop();
    toetsenbord_ = QStringLiteral("ja");
}

void Form6::controlers(qint16 spelernr, qint16 invoer) {
    restart();
    spelernr_ = spelernr;
    joysticknr_ = invoer;
    toetsenbord_ = QStringLiteral("nee");
    Timer1->start();
}

void Form6::Timer1_Timer() {
    const qint16* knoppen = nullptr;
    if (joysticknr_ == 1) {
        readjoystick1();
        knoppen = state().knoppen1;
    } else if (joysticknr_ == 2) {
        readjoystick2();
        knoppen = state().knoppen2;
    } else {
        return;
    }
    for (qint16 b = 0; b < 16; ++b) {
        if (knoppen[b] != kTrue || b == bezet_[0] || b == bezet_[1] || b == bezet_[2]) continue;
        if (stap_ < 3) bezet_[stap_] = b;
        assign(QString::number(b));
        return;
    }
}

void Form6::keyPressEvent(QKeyEvent* event) {
    if (toetsenbord_ != QLatin1String("ja") || aantalkeyboard != 1) {
        QWidget::keyPressEvent(event);
        return;
    }
    takeKey(event->text());
}

bool Form6::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(event);
}

void Form6::Form_Activate() {
    restart();
}

void Form6::Form_Unload() {
    const Speler& eigen = state().spelers[0];
    frmmulti& online = frmmulti::instance();
    online.txtbutton1->setText(eigen.knop1);
    online.txtbutton2->setText(eigen.knop2);
    online.txtbutton3->setText(eigen.knop3);
    online.txtbutton4->setText(eigen.knop4);
    const QString path = programFile(QStringLiteral("settings.ini"));
    for (int n = 1; n <= 4; ++n)
        writeini(path, QStringLiteral("controls"), QStringLiteral("button%1").arg(n),
                 eigen.knop(n));
}

void Form6::takeKey(const QString& c) {
    if (!storableKey(c)) return;
    const Speler& p = speler();
    for (int n = 1; n <= stap_; ++n)
        if (p.knop(n) == c) return; // this player already answers with it
    assign(c);
}

void Form6::restart() {
    stap_ = 0;
    for (qint16& b : bezet_)
        b = kNoButton;
    for (int i = 0; i < 4; ++i) {
        prompt[i]->setVisible(i == 0);
        txtknop[i]->hide();
        txtknop[i]->setEnabled(true);
        txtknop[i]->clear();
    }
}

void Form6::assign(const QString& input) {
    speler().knop(stap_ + 1) = input;
    txtknop[stap_]->setText(input);
    if (stap_ == 3) {
        unload();
        return;
    }
    prompt[stap_ + 1]->show();
    ++stap_;
    for (int i = 0; i < stap_; ++i) {
        txtknop[i]->show();
        txtknop[i]->setEnabled(false);
    }
}

Speler& Form6::speler() {
    Q_ASSERT(spelernr_ >= 0 && spelernr_ < 6);
    return state().spelers[std::clamp<int>(spelernr_, 0, 5)];
}
