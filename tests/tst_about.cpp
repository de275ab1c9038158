#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>
#include <memory>

#include "about/zr6200fp_About.h"
#include "led/clickableLabel.h"
#include "qtLicense.h"
#include "testsupport.h"

namespace {
std::unique_ptr<zr6200fp_About> makeAbout(const char *driver = "4.3.0.10185", const char *common = "2.8.1.4012")
{
    return std::make_unique<zr6200fp_About>("4.3.1.10252", driver, "7480", "Copyright (C) 2024 Tervix", nullptr,
                                            common);
}

QFormLayout *form(QWidget &about, const QString &title)
{
    const auto boxes = about.findChildren<QGroupBox *>();
    for (QGroupBox *box : boxes) {
        if (box->title() == title)
            return qobject_cast<QFormLayout *>(box->layout());
    }
    return nullptr;
}

// "caption value" of each row of a box.
QStringList rows(QWidget &about, const QString &title)
{
    QStringList result;
    QFormLayout *f = form(about, title);
    if (!f)
        return {QStringLiteral("no box")};
    for (int r = 0; r < f->rowCount(); ++r) {
        auto *caption = qobject_cast<QLabel *>(f->itemAt(r, QFormLayout::LabelRole)->widget());
        auto *value = qobject_cast<QLabel *>(f->itemAt(r, QFormLayout::FieldRole)->widget());
        result << caption->text() + QLatin1Char(' ') + value->text();
    }
    return result;
}

QStringList hardware(QWidget &about)
{
    return rows(about, QStringLiteral("Hardware Information"));
}

QStringList software(QWidget &about)
{
    return rows(about, QStringLiteral("Software Revisions"));
}

QPushButton *button(QWidget &about, const QString &text)
{
    const auto buttons = about.findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QStringList page(const QString &model, const QString &revision, const QString &serial)
{
    return {QStringLiteral("Device Model: ") + model, QStringLiteral("Revision: ") + revision,
            QStringLiteral("Serial Number: ") + serial};
}

QStringList revisions(const QString &driver, const QString &panel)
{
    return {QStringLiteral("Tervix Common Library: 2.8.1.4012"), QStringLiteral("Instrument Driver: ") + driver,
            QStringLiteral("Soft Front Panel: ") + panel};
}

void showAbout(QWidget &about)
{
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
}
} // namespace

class tst_About : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void texts();
    void softwareRows_data();
    void softwareRows();
    void pageCount_data();
    void pageCount();
    void paging();
    void revisionsAcrossPages();
    void revisionStaysWithoutOwn();
    void okKeepsPage();
    void fixedSize();
    void pictureRect_data();
    void pictureRect();
    void picture();
    void licenseViewer();
    void qtVersionLink();
    void infoRows();
};

void tst_About::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_About::texts()
{
    zr6200fp_About about("1.0", "2.0", "7480", "Copyright \xa9 2024 Tervix Ger\xe4te", nullptr, "3.0");
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tervix 7480 Soft Front Panel"));
    QStringList labels;
    const auto all = about.findChildren<QLabel *>();
    for (const QLabel *label : all)
        labels << label->text();
    QVERIFY(labels.contains(
        QStringLiteral("<font size='5' bold>Tervix 7480 VXIplug&play Driver<br>Soft Front Panel Application</font>")));
    QVERIFY(labels.contains(QStringLiteral("Copyright \u00a9 2024 Tervix Ger\u00e4te")));
    QCOMPARE(rows(about, QStringLiteral("Qt Library")),
             (QStringList{QStringLiteral("Used under License: <u><font color='#22e'>LGPL</font></u>"),
                          QStringLiteral("Version (sources not modified): <u><font color='#22e'>") +
                              QString::fromLatin1(qVersion()) + QStringLiteral("</font></u>")}));
    QVERIFY(!about.isModal());
}

void tst_About::softwareRows_data()
{
    QTest::addColumn<bool>("withCommon");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("common library revision") << true << revisions(QStringLiteral("2.0"), QStringLiteral("1.0"));
    QTest::newRow("null common library revision")
        << false << QStringList{QStringLiteral("Instrument Driver: 2.0"), QStringLiteral("Soft Front Panel: 1.0")};
}

void tst_About::softwareRows()
{
    QFETCH(bool, withCommon);
    QFETCH(QStringList, expected);
    zr6200fp_About about("1.0", "2.0", "7480", "", nullptr, withCommon ? "2.8.1.4012" : nullptr);
    showAbout(about);
    QCOMPARE(software(about), expected);
    // Outside the boxes only the heading, the description and the picture
    // show; no stray value label.
    int direct = 0;
    const auto labels = about.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QLabel *label : labels)
        direct += label->isVisible() ? 1 : 0;
    QCOMPARE(direct, 3);
}

void tst_About::pageCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("paging");
    QTest::newRow("no card") << 0 << QStringList() << false;
    QTest::newRow("one card") << 1 << page(QStringLiteral("7480-A1"), QStringLiteral("1.1"), QStringLiteral("s1"))
                              << false;
    QTest::newRow("two cards") << 2 << page(QStringLiteral("7480-A1"), QStringLiteral("1.1"), QStringLiteral("s1"))
                               << true;
    QTest::newRow("three cards") << 3 << page(QStringLiteral("7480-A1"), QStringLiteral("1.1"), QStringLiteral("s1"))
                                 << true;
}

void tst_About::pageCount()
{
    QFETCH(int, count);
    QFETCH(QStringList, shown);
    QFETCH(bool, paging);
    auto about = makeAbout();
    for (int i = 1; i <= count; ++i)
        about->addHardwareInfo(QStringLiteral("s%1").arg(i), QStringLiteral("1.%1").arg(i),
                               QStringLiteral("7480-A%1").arg(i));
    showAbout(*about);
    QCOMPARE(hardware(*about), shown);
    QPushButton *prev = button(*about, QStringLiteral("< Previous"));
    QPushButton *next = button(*about, QStringLiteral("Next >"));
    QVERIFY(prev && next);
    QCOMPARE(prev->isVisible(), paging);
    QCOMPARE(next->isVisible(), paging);
    QVERIFY(!prev->isEnabled());
    QVERIFY(next->isEnabled());
    QVERIFY(button(*about, QStringLiteral("OK"))->isVisible());
    QCOMPARE(software(*about), revisions(QStringLiteral("4.3.0.10185"), QStringLiteral("4.3.1.10252")));
}

void tst_About::paging()
{
    auto about = makeAbout();
    showAbout(*about);
    QPushButton *prev = button(*about, QStringLiteral("< Previous"));
    QPushButton *next = button(*about, QStringLiteral("Next >"));
    const QStringList first = page(QStringLiteral("7480-AA"), QStringLiteral("1.0.1.0"), QStringLiteral("0000000a"));
    const QStringList second = page(QStringLiteral("7480-BB"), QStringLiteral("1.0.2.0"), QStringLiteral("0000000b"));
    const QStringList third = page(QStringLiteral("7480-CC"), QStringLiteral("1.0.3.0"), QStringLiteral("0000000c"));

    about->addHardwareInfo(QStringLiteral("0000000a"), QStringLiteral("1.0.1.0"), QStringLiteral("7480-AA"));
    QVERIFY(!next->isVisible());
    about->addHardwareInfo(QStringLiteral("0000000b"), QStringLiteral("1.0.2.0"), QStringLiteral("7480-BB"));
    QVERIFY(next->isVisible());
    QVERIFY(prev->isVisible());
    QVERIFY(!prev->isEnabled());
    QVERIFY(next->isEnabled());
    about->addHardwareInfo(QStringLiteral("0000000c"), QStringLiteral("1.0.3.0"), QStringLiteral("7480-CC"));
    QCOMPARE(hardware(*about), first);
    QCOMPARE(about->lastDeviceModel(), QStringLiteral("7480-CC"));
    QCOMPARE(about->lastRevision(), QStringLiteral("1.0.3.0"));

    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(hardware(*about), second);
    QVERIFY(prev->isEnabled());
    QVERIFY(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(hardware(*about), third);
    QVERIFY(!next->isEnabled());
    QVERIFY(prev->isEnabled());
    // Disabled at the end: a further click changes nothing.
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(hardware(*about), third);

    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(hardware(*about), second);
    QVERIFY(next->isEnabled());
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(hardware(*about), first);
    QVERIFY(!prev->isEnabled());
    QVERIFY(next->isEnabled());
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(hardware(*about), first);

    // A page added while paged forward does not change the display.
    QTest::mouseClick(next, Qt::LeftButton);
    about->addHardwareInfo(QStringLiteral("0000000d"), QStringLiteral("1.0.4.0"), QStringLiteral("7480-DD"));
    QCOMPARE(hardware(*about), second);
    QVERIFY(next->isEnabled());
}

void tst_About::revisionsAcrossPages()
{
    auto about = makeAbout("D0");
    showAbout(*about);
    about->addHardwareInfo(QStringLiteral("s1"), QStringLiteral("r1"), QStringLiteral("m1"));
    about->addHardwareInfo(QStringLiteral("s2"), QStringLiteral("r2"), QStringLiteral("m2"), QStringLiteral("D2"));
    about->addHardwareInfo(QStringLiteral("s3"), QStringLiteral("r3"), QStringLiteral("m3"), QString(),
                           QStringLiteral("P3"));
    // Adding pages never changes the revisions shown.
    QCOMPARE(software(*about), revisions(QStringLiteral("D0"), QStringLiteral("4.3.1.10252")));

    QPushButton *prev = button(*about, QStringLiteral("< Previous"));
    QPushButton *next = button(*about, QStringLiteral("Next >"));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(software(*about), revisions(QStringLiteral("D2"), QStringLiteral("4.3.1.10252")));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(software(*about), revisions(QStringLiteral("D0"), QStringLiteral("P3")));
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(software(*about), revisions(QStringLiteral("D2"), QStringLiteral("4.3.1.10252")));
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(software(*about), revisions(QStringLiteral("D0"), QStringLiteral("4.3.1.10252")));
    QCOMPARE(hardware(*about), page(QStringLiteral("m1"), QStringLiteral("r1"), QStringLiteral("s1")));
}

void tst_About::revisionStaysWithoutOwn()
{
    // Without a driver revision from the constructor, pages without their
    // own keep whatever the label shows.
    auto about = makeAbout(nullptr);
    showAbout(*about);
    about->addHardwareInfo(QStringLiteral("s1"), QStringLiteral("r1"), QStringLiteral("m1"));
    about->addHardwareInfo(QStringLiteral("s2"), QStringLiteral("r2"), QStringLiteral("m2"), QStringLiteral("D2"));
    about->addHardwareInfo(QStringLiteral("s3"), QStringLiteral("r3"), QStringLiteral("m3"));
    QCOMPARE(software(*about), revisions(QString(), QStringLiteral("4.3.1.10252")));
    about->next();
    QCOMPARE(software(*about), revisions(QStringLiteral("D2"), QStringLiteral("4.3.1.10252")));
    about->next();
    QCOMPARE(software(*about), revisions(QStringLiteral("D2"), QStringLiteral("4.3.1.10252")));
    QCOMPARE(hardware(*about), page(QStringLiteral("m3"), QStringLiteral("r3"), QStringLiteral("s3")));
    about->prev();
    about->prev();
    QCOMPARE(software(*about), revisions(QStringLiteral("D2"), QStringLiteral("4.3.1.10252")));
}

void tst_About::okKeepsPage()
{
    auto about = makeAbout();
    for (int i = 1; i <= 3; ++i)
        about->addHardwareInfo(QStringLiteral("s%1").arg(i), QStringLiteral("r%1").arg(i),
                               QStringLiteral("m%1").arg(i));
    showAbout(*about);
    QTest::mouseClick(button(*about, QStringLiteral("Next >")), Qt::LeftButton);
    QTest::mouseClick(button(*about, QStringLiteral("OK")), Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QCOMPARE(about->result(), 0);
    showAbout(*about);
    QCOMPARE(hardware(*about), page(QStringLiteral("m2"), QStringLiteral("r2"), QStringLiteral("s2")));
    QVERIFY(button(*about, QStringLiteral("< Previous"))->isEnabled());
    QVERIFY(button(*about, QStringLiteral("Next >"))->isEnabled());
    about->hide();
}

void tst_About::fixedSize()
{
    auto about = makeAbout();
    about->addHardwareInfo(QStringLiteral("s1"), QStringLiteral("r1"), QStringLiteral("m1"));
    showAbout(*about);
    QCOMPARE(about->layout()->sizeConstraint(), QLayout::SetFixedSize);
    QTRY_COMPARE(about->size(), about->sizeHint());
    QCOMPARE(about->minimumSize(), about->maximumSize());
    for (const QString &text : {QStringLiteral("< Previous"), QStringLiteral("Next >"), QStringLiteral("OK")}) {
        QCOMPARE(button(*about, text)->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
        QCOMPARE(button(*about, text)->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    }
    const int lh = about->fontMetrics().height();
    QFormLayout *software = form(*about, QStringLiteral("Software Revisions"));
    QCOMPARE(software->horizontalSpacing(), lh);
    QCOMPARE(software->contentsMargins(), QMargins(lh, lh, lh, lh));
}

void tst_About::pictureRect_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("lh");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("whole picture") << QSize(110, 345) << 14 << QRect(0, 0, 110, 345);
    QTest::newRow("28 lines fit exactly") << QSize(110, 392) << 14 << QRect(0, 0, 110, 392);
    QTest::newRow("lowest 28 lines") << QSize(110, 345) << 10 << QRect(0, 65, 110, 280);
    QTest::newRow("lowest 28 lines, larger font") << QSize(110, 345) << 12 << QRect(0, 9, 110, 336);
    QTest::newRow("one row short of 8 lines") << QSize(110, 111) << 14 << QRect(0, 0, 110, 111);
    QTest::newRow("lower than 8 lines") << QSize(110, 345) << 50 << QRect(0, 0, 110, 345);
    QTest::newRow("no picture") << QSize(0, 0) << 14 << QRect();
}

void tst_About::pictureRect()
{
    QFETCH(QSize, image);
    QFETCH(int, lh);
    QFETCH(QRect, rect);
    const QRect r = zr6200fp_About::pictureRect(image, lh);
    if (rect.isNull())
        QVERIFY(r.isEmpty());
    else
        QCOMPARE(r, rect);
}

void tst_About::picture()
{
    auto about = makeAbout();
    const QImage image(QStringLiteral(":/about.png"));
    const QRect shown = zr6200fp_About::pictureRect(image.size(), about->fontMetrics().height());
    const auto labels = about->findChildren<QLabel *>();
    const QLabel *picture = nullptr;
    for (const QLabel *label : labels) {
        if (!label->pixmap().isNull())
            picture = label;
    }
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             image.copy(shown).convertToFormat(QImage::Format_ARGB32));
}

void tst_About::licenseViewer()
{
    auto about = makeAbout();
    showAbout(*about);
    zrtest::ModalAnswerer answerer;
    QString text;
    QWidget *parent = nullptr;
    bool readOnly = false;
    bool noWrap = false;
    bool fixedPitch = false;
    QSize minimum;
    answerer.act([&](QWidget *w) {
        parent = w->parentWidget();
        auto *edit = w->findChild<QTextEdit *>();
        if (edit) {
            text = edit->toPlainText();
            readOnly = edit->isReadOnly();
            noWrap = edit->wordWrapMode() == QTextOption::NoWrap;
            fixedPitch = QFontInfo(edit->font()).fixedPitch();
            minimum = edit->minimumSize();
        }
        zrtest::clickButton(w, QStringLiteral("Ok"));
    });
    const auto links = about->findChildren<clickableLabel *>();
    QCOMPARE(links.size(), 2);
    clickableLabel *lgpl = links.first()->text().contains(QLatin1String("LGPL")) ? links.first() : links.last();
    QTest::mouseClick(lgpl, Qt::LeftButton);
    QTRY_COMPARE(answerer.seen().size(), 1);
    QTRY_VERIFY(about->findChildren<qtLicense *>().isEmpty());

    const auto &seen = answerer.seen().first();
    QCOMPARE(seen.className, QStringLiteral("qtLicense"));
    QCOMPARE(seen.title, QStringLiteral("Qt LGPL License"));
    QCOMPARE(parent, about.get());
    QVERIFY(text.startsWith(QLatin1String("This program uses the Qt toolkit")));
    QVERIFY(text.contains(QLatin1String("GNU LESSER GENERAL PUBLIC LICENSE")));
    QVERIFY(text.contains(QLatin1String("Version 2.1, February 1999")));
    QVERIFY(!text.contains(QLatin1Char('\r')));
    QVERIFY(readOnly);
    QVERIFY(noWrap);
    QVERIFY(fixedPitch);
    QCOMPARE(minimum, QSize(650, 500));
    QVERIFY(about->isVisible());
    QVERIFY(answerer.unexpected().isEmpty());
    about->hide();
}

void tst_About::qtVersionLink()
{
    auto about = makeAbout();
    showAbout(*about);
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("OK"));
    const auto links = about->findChildren<clickableLabel *>();
    clickableLabel *version = links.first()->text().contains(QLatin1String("LGPL")) ? links.last() : links.first();
    QVERIFY(version->text().contains(QString::fromLatin1(qVersion())));
    QTest::mouseClick(version, Qt::RightButton);
    QTRY_COMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().title, QStringLiteral("About Qt"));
    QTRY_COMPARE(zrtest::visibleTopLevels(), QList<QWidget *>{about.get()});
    about->hide();
}

void tst_About::infoRows()
{
    auto about = makeAbout();
    about->addHardwareInfo(QStringLiteral("s1"), QStringLiteral("r1"), QStringLiteral("m1"));
    about->addInfoRow(QStringLiteral("Firmware:"), QStringLiteral("f1"), false);
    about->addInfoRow(QStringLiteral("Option:"), QStringLiteral("o1"));
    about->addDeviceModelRow(QStringLiteral("m9"));
    about->addRevisionRow(QStringLiteral("r9"));
    about->addSerialNumberRow(QStringLiteral("s9"));
    QCOMPARE(software(*about), revisions(QStringLiteral("4.3.0.10185"), QStringLiteral("4.3.1.10252"))
                                   << QStringLiteral("Firmware: f1"));
    QCOMPARE(hardware(*about), page(QStringLiteral("m1"), QStringLiteral("r1"), QStringLiteral("s1"))
                                   << QStringLiteral("Option: o1")
                                   << page(QStringLiteral("m9"), QStringLiteral("r9"), QStringLiteral("s9")));
    QCOMPARE(about->lastDeviceModel(), QStringLiteral("m9"));
    QCOMPARE(about->lastRevision(), QStringLiteral("r9"));
}

ZR_TEST_MAIN(tst_About)
#include "tst_about.moc"
