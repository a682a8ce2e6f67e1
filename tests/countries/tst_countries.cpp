#include "common/countries.h"
#include "common/gamestate.h"
#include "lobby/frmmulti.h"

#include <QGroupBox>
#include <QListWidget>
#include <QSet>
#include <QtTest>

namespace {

QImage pixels(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage pixels(const QString& file) {
    return QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString packageFlag(const QString& code) {
    return QStringLiteral(VDX_FLAG_DIR "/%1.png").arg(code);
}

} // namespace

class tst_countries : public QObject {
    Q_OBJECT

private slots:
    void init() { resetState(); }
    void cleanupTestCase() { frmmulti::unload(); }

    void listHoldsTheExactNames() {
        const QStringList& names = countryNames();
        QCOMPARE(names.size(), 242);
        int trailing = 0;
        for (const QString& naam : names) {
            QVERIFY2(!naam.startsWith(u' '), qPrintable(naam));
            QVERIFY2(!naam.endsWith(QLatin1String("  ")), qPrintable(naam));
            QVERIFY2(!naam.trimmed().isEmpty(), qPrintable(naam));
            if (naam.endsWith(u' ')) ++trailing;
        }
        QCOMPARE(trailing, 153);
        QCOMPARE(names.at(0), QStringLiteral("Afghanistan"));
        QCOMPARE(names.at(21), QStringLiteral("Belgium "));
        QCOMPARE(names.at(57), QStringLiteral("curacao"));
        QCOMPARE(names.at(93), QStringLiteral("Guinea "));
        QCOMPARE(names.at(94), QStringLiteral("Guinea Bissau "));
        QCOMPARE(names.at(168), QStringLiteral("Papua New guinea"));
        QCOMPARE(names.at(241), QStringLiteral("Zimbabwe "));
    }

    void listIsAlphabeticalWithoutRegardToCase() {
        const QStringList& names = countryNames();
        for (int i = 1; i < names.size(); ++i) {
            QVERIFY2(names.at(i - 1).trimmed().toLower() < names.at(i).trimmed().toLower(),
                     qPrintable(names.at(i)));
        }
    }

    void lookup_data() {
        QTest::addColumn<QString>("land");
        QTest::addColumn<int>("expected");
        QTest::newRow("as stored") << "Belgium " << 21;
        QTest::newRow("small letters") << "belgium " << 21;
        QTest::newRow("capitals") << "BELGIUM " << 21;
        QTest::newRow("no trailing blank") << "Belgium" << 21;
        QTest::newRow("blanks before") << "   Belgium " << 21;
        QTest::newRow("mixed") << "  bElGiUm" << 21;
        QTest::newRow("first") << "Afghanistan" << 0;
        QTest::newRow("last") << "Zimbabwe " << 241;
        QTest::newRow("empty") << "" << 242;
        QTest::newRow("blanks only") << "   " << 242;
        QTest::newRow("unknown") << "Atlantis" << 242;
        QTest::newRow("misspelled") << "Belgum " << 242;
        QTest::newRow("whole text, first match") << "Guinea " << 93;
        QTest::newRow("longer name after it") << "guinea bissau" << 94;
        QTest::newRow("inner blank counts") << "Bel gium" << 242;
        QTest::newRow("tab is not a blank") << "Belgium\t" << 242;
        QTest::newRow("small letter kept") << "CURACAO" << 57;
    }

    void lookup() {
        QFETCH(QString, land);
        QFETCH(int, expected);
        QCOMPARE(countryIndex(land), expected);
    }

    void zoeklandop_data() { lookup_data(); }

    void zoeklandop() {
        QFETCH(QString, land);
        QFETCH(int, expected);
        frmmulti& w = frmmulti::instance();
        state().eigenlandnummer = 7;
        const qint16 result = w.zoeklandop(land);
        QCOMPARE(result, expected);
        QCOMPARE(state().eigenlandnummer, expected);
        // The walk leaves the matching row selected, the last row when none matched.
        const int row = expected == kUnknownCountry ? 241 : expected;
        QCOMPARE(w.List1->currentRow(), row);
        QCOMPARE(w.List1->selectedItems().size(), 1);
        QCOMPARE(w.List1->selectedItems().first()->text(), countryNames().at(row));
        QVERIFY(!w.imglandenlijst.flagOf(result).isNull());
        QCOMPARE(w.imglandenlijst.flagOf(result).cacheKey(),
                 w.imglandenlijst.picture(expected + 1).cacheKey());
    }

    void unknownSelectionEndsOnZimbabwe() {
        frmmulti& w = frmmulti::instance();
        w.zoeklandop(QStringLiteral("Belgium"));
        QCOMPARE(w.zoeklandop(QString()), kUnknownCountry);
        QCOMPARE(w.List1->currentItem()->text(), QStringLiteral("Zimbabwe "));
    }

    void everyNameFindsItsOwnRow() {
        // No name equals an earlier one, so each finds its own index.
        frmmulti& w = frmmulti::instance();
        const QStringList& names = countryNames();
        for (int i = 0; i < names.size(); ++i) {
            const QString& naam = names.at(i);
            QCOMPARE(countryIndex(naam), i);
            QCOMPARE(countryIndex(naam.trimmed().toUpper()), i);
            QCOMPARE(w.zoeklandop(naam), i);
            QCOMPARE(w.List1->currentRow(), i);
        }
    }

    void loadStepFillsTheListOnTheNewUserFrame() {
        frmmulti& w = frmmulti::instance();
        auto* frame = w.findChild<QGroupBox*>(QStringLiteral("frmnewusr"));
        QVERIFY(frame);
        auto* list = frame->findChild<QListWidget*>(QStringLiteral("List1"));
        QCOMPARE(list, w.List1);
        QCOMPARE(list->count(), 242);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->text(), countryNames().at(i));
    }

    void flagCodes() {
        for (qint16 n = 0; n < kCountryCount; ++n) {
            const QString code = countryFlagCode(n);
            QVERIFY2(code.size() == 2 && code == code.toLower(), qPrintable(code));
        }
        QCOMPARE(countryFlagCode(kUnknownCountry), QString());
        QCOMPARE(countryFlagCode(-1), QString());
    }

    void everyPictureLoads() {
        const FlagImageList& list = frmmulti::instance().imglandenlijst;
        QCOMPARE(list.count(), 243);
        for (int k = 1; k <= list.count(); ++k) {
            QVERIFY2(!list.picture(k).isNull(), qPrintable(QString::number(k)));
            QCOMPARE(list.picture(k).height(), 11); // Nepal and Switzerland are narrower
            QVERIFY(list.picture(k).width() <= 16);
        }
        QVERIFY(list.picture(0).isNull());
        QVERIFY(list.picture(244).isNull());
        QVERIFY(list.flagOf(-1).isNull());
    }

    void picturesFollowTheFlagCodes() {
        // Picture n + 1 is the package's picture for country n's code, or our own drawing.
        const FlagImageList& list = frmmulti::instance().imglandenlijst;
        for (qint16 n = 0; n < kCountryCount; ++n) {
            const QString file = packageFlag(countryFlagCode(n));
            if (QFile::exists(file))
                QVERIFY2(pixels(list.flagOf(n)) == pixels(file), qPrintable(countryNames().at(n)));
            else
                QVERIFY2(n == 7, qPrintable(countryNames().at(n))); // Antarctica
        }
        QVERIFY(pixels(list.picture(1)) == pixels(packageFlag(QStringLiteral("af"))));
        QVERIFY(pixels(list.picture(242)) == pixels(packageFlag(QStringLiteral("zw"))));
        QVERIFY(pixels(list.picture(243)) ==
                pixels(QStringLiteral(VDX_SOURCE_DIR "/lobby/flags/unknown.xpm")));
    }

    void distinctCodesHaveDistinctPictures() {
        // Only the package's own copies of a parent's flag may look the same.
        const QSet<QString> copies{QStringLiteral("fr+gf"), QStringLiteral("fr+re"),
                                   QStringLiteral("gf+re"), QStringLiteral("no+sj")};
        const FlagImageList& list = frmmulti::instance().imglandenlijst;
        QList<QImage> images;
        for (int k = 1; k <= list.count(); ++k)
            images.append(pixels(list.picture(k)));
        for (int a = 0; a < images.size(); ++a) {
            for (int b = a + 1; b < images.size(); ++b) {
                const QString ca = countryFlagCode(a), cb = countryFlagCode(b);
                if (ca == cb || images.at(a) != images.at(b)) continue;
                const QString pair = ca < cb ? ca + u'+' + cb : cb + u'+' + ca;
                QVERIFY2(copies.contains(pair),
                         qPrintable(countryNames().at(a) + u'/' +
                                    (b < kCountryCount ? countryNames().at(b)
                                                       : QStringLiteral("unknown"))));
            }
        }
        QVERIFY(images.at(21) != images.at(153)); // Belgium, Netherlands
    }
};

QTEST_MAIN(tst_countries)
#include "tst_countries.moc"
