#include "game/Form1.h"
#include "game/Form7.h"
#include "game/resultprinter.h"
#include "lobby/clicklabel.h"
#include "platform/dialogs.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QtTest>

namespace {
// Fills the window the way the game's end does.
void fill(Form7& w, const QStringList& names, const QStringList& scores, const QString& vragen,
          const QString& tijd) {
    for (int i = 0; i < 5; ++i) {
        w.naam[i]->setText(names.value(i));
        w.score[i]->setText(scores.value(i));
        if (!names.value(i).isEmpty()) {
            w.naam[i]->setVisible(true);
            w.score[i]->setVisible(true);
        }
    }
    w.lblvragen->setText(vragen);
    w.lbltijd->setText(tijd);
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The lines of the PDF's text that hold something, trimmed.
QStringList pdfLines(const QString& pdf) {
    QStringList lines;
    const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) lines.append(line.trimmed());
    return lines;
}

QStringList resultsPdfs(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("results-*.pdf")}, QDir::Files, QDir::Name);
}
} // namespace

class tst_form7 : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        Form7::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setResultsPdfFile({});
    }

    void windowHasItsControls() {
        Form7& w = Form7::instance();
        QCOMPARE(w.objectName(), QStringLiteral("Form7"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
        w.show();
        for (int i = 0; i < 5; ++i) {
            auto* naam = w.findChild<QLabel*>(QStringLiteral("naam(%1)").arg(i));
            auto* score = w.findChild<QLabel*>(QStringLiteral("score(%1)").arg(i));
            QCOMPARE(naam, w.naam[i]);
            QCOMPARE(score, w.score[i]);
            QVERIFY(!naam->isVisible());
            QVERIFY(!score->isVisible());
        }
        const char* numbers[] = {"Label3", "Label4", "Label5", "Label6", "Label2"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(w.findChild<QLabel*>(numbers[i])->text(), QString::number(i + 1));
        QCOMPARE(w.findChild<QLabel*>("Label9")->text(), QStringLiteral("Number of questions:"));
        QCOMPARE(w.findChild<QLabel*>("Label11")->text(),
                 QStringLiteral("Time to answer(seconds):"));
        QCOMPARE(w.findChild<QLabel*>("Label10")->text(), QStringLiteral("m3u-file:"));
        QVERIFY(w.findChild<QLabel*>("lblvragen"));
        QVERIFY(w.findChild<QLabel*>("lbltijd"));
        QVERIFY(w.findChild<QLabel*>("lblpad"));
        QCOMPARE(w.findChild<QPushButton*>("Command1")->text(), QStringLiteral("&Close"));
        QCOMPARE(w.findChild<QPushButton*>("Command2")->text(), QStringLiteral("&Print"));
    }

    void windowHasNoCloseBox() {
        Form7& w = Form7::instance();
        w.show();
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(Form7::exists());
    }

    void closeShowsLogoAndHidesGameArea() {
        Form1& form1 = Form1::instance();
        form1.Image5->hide();
        form1.Frame1->show();
        form1.show();

        QPointer<Form7> w = &Form7::instance();
        w->show();
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!Form7::exists());
        QVERIFY(!w->isVisible());
        QVERIFY(form1.Image5->isVisible());
        QVERIFY(!form1.Frame1->isVisible());
        QVERIFY(form1.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
        Form1::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void namesShowAsTheyAre() {
        Form7& w = Form7::instance();
        fill(w, {"<b>bold</b>"}, {"<i>7</i>"}, "<u>5</u>", "10");
        for (const QLabel* label : w.findChildren<QLabel*>())
            QCOMPARE(label->textFormat(), Qt::PlainText);
        Form7::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void nextUseLoadsAFreshWindow() {
        fill(Form7::instance(), {"Anna"}, {"12"}, "10", "15");
        Form7::instance().Command1_Click();
        Form7& w = Form7::instance();
        QVERIFY(w.naam[0]->text().isEmpty());
        QVERIFY(w.lblvragen->text().isEmpty());
        w.show();
        QVERIFY(!w.close());
    }

    void rowLinePadsTheNameToFifteen() {
        const QString indent(10, ' ');
        QCOMPARE(resultRowLine({1, "Anna", "40"}),
                 indent + "PLAYER 1: Anna" + QString(11, ' ') + "SCORE: 40");
        QCOMPARE(resultRowLine({4, "Bartholomew-Jones", "7"}),
                 indent + "PLAYER 4: Bartholomew-Jones SCORE: 7");
    }

    void printoutHoldsTheResultsInOrder() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        const QString pdf = folder.file("out.pdf");
        setResultsPdfFile(pdf);
        Form7& w = Form7::instance();
        fill(w, {"Anna", "Bob", "Christina"}, {"40", "125", "0"}, "10", "15");
        w.show();

        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        const QDateTime after = QDateTime::currentDateTime();
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(resultsPdfs(folder.path()).isEmpty());

        const QStringList lines = pdfLines(pdf);
        QCOMPARE(lines.size(), 9);
        const QLocale locale = QLocale::system();
        QVERIFY(lines[0] == locale.toString(before.date(), QLocale::ShortFormat) ||
                lines[0] == locale.toString(after.date(), QLocale::ShortFormat));
        QVERIFY(lines[1] == locale.toString(before.time(), QLocale::ShortFormat) ||
                lines[1] == locale.toString(after.time(), QLocale::ShortFormat));
        QCOMPARE(lines[2], QStringLiteral("m3u file:"));
        QCOMPARE(lines[3], QStringLiteral("time to answer: 15seconds"));
        QCOMPARE(lines[4], QStringLiteral("number of questions: 10"));
        const QRegularExpression row(QStringLiteral("^PLAYER (\\d): (\\S+) +SCORE: (\\d+)$"));
        const QStringList names = {"Anna", "Bob", "Christina"};
        const QStringList scores = {"40", "125", "0"};
        for (int i = 0; i < 3; ++i) {
            const auto match = row.match(lines[5 + i]);
            QVERIFY2(match.hasMatch(), qPrintable(lines[5 + i]));
            QCOMPARE(match.captured(1), QString::number(i + 1));
            QCOMPARE(match.captured(2), names[i]);
            QCOMPARE(match.captured(3), scores[i]);
        }
        // the footer names the site the game window links to
        QCOMPARE(lines[8], QUrl(Form1::kWebPage).host());
    }

    void printoutAlignsTheScores() {
        TempProgramFolder folder;
        const QString pdf = folder.file("out.pdf");
        setResultsPdfFile(pdf);
        Form7& w = Form7::instance();
        fill(w, {"Al", "Margaretha"}, {"5", "60"}, "20", "10");
        w.Command2_Click();

        const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
        QStringList rows;
        for (const QString& line : text.split('\n'))
            if (line.contains("PLAYER")) rows.append(line);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].indexOf("SCORE:"), rows[1].indexOf("SCORE:"));
        QCOMPARE(rows[0].indexOf("PLAYER"), rows[1].indexOf("PLAYER"));
    }

    void rowsWithoutANameAreNotPrinted() {
        TempProgramFolder folder;
        const QString pdf = folder.file("out.pdf");
        setResultsPdfFile(pdf);
        Form7& w = Form7::instance();
        fill(w, {"Anna", "", "Carl", "", "Eve"}, {"3", "", "8", "", "1"}, "5", "20");
        w.Command2_Click();

        QStringList rows;
        for (const QString& line : pdfLines(pdf))
            if (line.startsWith("PLAYER")) rows.append(line.left(9));
        QCOMPARE(rows, QStringList({"PLAYER 1:", "PLAYER 3:", "PLAYER 5:"}));
    }

    void printoutHoldsTheLogo() {
        TempProgramFolder folder;
        const QString pdf = folder.file("out.pdf");
        setResultsPdfFile(pdf);
        Form7::instance().Command2_Click();

        // One picture, 1100 by 500 twips: its pixels per inch tell the printed size.
        QList<QStringList> images;
        for (const QString& line : run(QStringLiteral("pdfimages"), {"-list", pdf}).split('\n')) {
            const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
            if (fields.value(2) == QLatin1String("image")) images.append(fields);
        }
        QCOMPARE(images.size(), 1);
        const double width = images[0][3].toDouble();
        const double height = images[0][4].toDouble();
        const double ppiX = images[0][12].toDouble();
        const double ppiY = images[0][13].toDouble();
        QVERIFY(qAbs(width / ppiX * 1440 - 1100) < 5);
        QVERIFY(qAbs(height / ppiY * 1440 - 500) < 5);
    }

    void withoutPrinterTheResultsGoToTheProgramFolder() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; this test would print on it");
        TempProgramFolder folder;
        DialogRecorder dialogs;
        Form7& w = Form7::instance();
        fill(w, {"Anna", "Bob", "Christina"}, {"40", "125", "0"}, "10", "15");
        w.Command2_Click();
        w.Command2_Click();

        const QStringList files = resultsPdfs(folder.path());
        QCOMPARE(files.size(), 2);
        QCOMPARE(dialogs.messages.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString path = QDir::toNativeSeparators(folder.file(files[i]));
            QVERIFY2(dialogs.messages[0].text.endsWith(path) ||
                         dialogs.messages[1].text.endsWith(path),
                     qPrintable(path));
            QVERIFY(pdfLines(folder.file(files[i])).contains("number of questions: 10"));
        }
        QCOMPARE(dialogs.messages[0].icon, MsgIcon::Information);
        QVERIFY(dialogs.messages[0].text.startsWith("No printer is installed."));
    }

    void failingPrinterIsReported() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        setResultsPdfFile(folder.file("missing/out.pdf"));
        Form7::instance().Command2_Click();
        QCOMPARE(dialogs.texts(), QStringList({"The results could not be printed."}));
        QCOMPARE(dialogs.messages[0].icon, MsgIcon::Critical);
        QVERIFY(resultsPdfs(folder.path()).isEmpty());
    }
};

VDX_TEST_MAIN(tst_form7)
#include "tst_form7.moc"
