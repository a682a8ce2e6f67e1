// The "Info" tab: logo, version, credits and the licence agreement.
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"
#include "lobby/vondrixlogo.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace frmmultibuild;

namespace {

const char* const kCredits = "Made by the Vondrix team:\n"
                             "game design, programming, artwork and trivia questions.\n"
                             "Thanks to everyone who posts questions and reports problems.";

const char* const kLicence =
    "VONDRIX LICENCE AGREEMENT\n"
    "\n"
    "1. The Vondrix team lets you install and play Vondrix on your own computers, free of "
    "charge, for as long as you like.\n"
    "2. You may give unchanged copies of the installer to others. You may not sell Vondrix or "
    "hand it out as part of a product you sell.\n"
    "3. You keep the rights to the questions you post; by posting one you allow the Vondrix team "
    "to use it in the game.\n"
    "4. Play fair: do not use Vondrix or its servers to harm other players, the servers or the "
    "forum.\n"
    "5. Vondrix comes as it is, without any warranty. The Vondrix team is not liable for any "
    "damage that comes from using it.\n"
    "6. The music you play in a game is your own: you are responsible for having the right to "
    "play it.\n";

} // namespace

QWidget* frmmulti::buildInfoTab() {
    auto* page = new QWidget;
    imglogo = caption(QString(), page, QStringLiteral("imglogo"));
    imglogo->setPixmap(vondrixlogo());
    lblversion = caption(QStringLiteral("Vondrix version 4.0"), page, QStringLiteral("lblversion"));
    QFont bold = lblversion->font();
    bold.setBold(true);
    lblversion->setFont(bold);
    QLabel* credits = caption(QString::fromLatin1(kCredits), page, QStringLiteral("lblcredits"));
    credits->setWordWrap(true);
    txtlicentie = named(new QPlainTextEdit(page), QStringLiteral("txtlicentie"));
    txtlicentie->setReadOnly(true);
    txtlicentie->setPlainText(QString::fromLatin1(kLicence));
    QLabel* accepted =
        caption(QStringLiteral("-- OK, Agreement already accepted during install --"), page,
                QStringLiteral("lblagreement"));

    auto* about = new QVBoxLayout;
    about->addWidget(lblversion);
    about->addWidget(credits);
    about->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(imglogo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(about, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(txtlicentie, 1);
    layout->addWidget(accepted);
    return page;
}
