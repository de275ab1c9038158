#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QtTest>

#include "core/zr6200fp_settingsLocation.h"
#include "fakecard.h"
#include "fc/zr6200fp_fcEnterAddress.h"
#include "fc/zr6200fp_fcSelect.h"
#include "testsupport.h"
#include "zr6200fp_fcEnterAddressFc.h"

namespace {

const QString kDefault = QStringLiteral("TCPIP::192.168.2.100::INSTR");

void setItems(zr6200fp_fcEnterAddressFc *row, const QStringList &items, const QString &current)
{
    row->descriptorCombo->clear();
    row->descriptorCombo->addItems(items);
    row->descriptorCombo->setEditText(current);
}

QStringList storedHistory(const QString &path, const QString &group, int row)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(group);
    QStringList history;
    for (int k = 1; k <= 5; ++k)
        history << settings.value(QStringLiteral("%1.%2.Descriptor").arg(row).arg(k)).toString();
    return history;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

} // namespace

class tst_Addresses : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void settingsPath();
    void firstRun();
    void oneRowModel();
    void multiCardModel();
    void historyOrder_data();
    void historyOrder();
    void oddDescriptorsRoundTrip_data();
    void oddDescriptorsRoundTrip();
    void damagedCount_data();
    void damagedCount();
    void damagedFile_data();
    void damagedFile();
    void countChanged();
    void unwritableFolderKeepsInput();
    void okAndCancel();
    void addressProblem_data();
    void addressProblem();

private:
    QString path;
};

void tst_Addresses::init()
{
    path = zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current());
    QFile::remove(path);
}

void tst_Addresses::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_Addresses::settingsPath()
{
    const QByteArray saved = qgetenv("ALLUSERSPROFILE");
    qputenv("ALLUSERSPROFILE", "/some/profile");
    const auto file = [] { return zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current()); };
    QCOMPARE(file(), QStringLiteral("/some/profile/Halvar/DefaultInstrDescr.ini"));
    const QString userFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/Halvar/DefaultInstrDescr.ini");
    qputenv("ALLUSERSPROFILE", "");
    QCOMPARE(file(), userFile);
    qunsetenv("ALLUSERSPROFILE");
    QCOMPARE(file(), userFile);
    qputenv("ALLUSERSPROFILE", saved);
    const FakeCard card;
    const zr6200fp_fcEnterAddress dialog(&card);
    QCOMPARE(dialog.settingsFile(), path);
}

void tst_Addresses::firstRun()
{
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tervix 7480 SFP: Enter Function Card Address"));
    QVERIFY(!dialog.windowIcon().isNull());
    zr6200fp_fcEnterAddressFc *row = dialog.rowWidget(0);
    QVERIFY(row);
    for (int i = 1; i < zr6200fp_fcEnterAddress::kRows; ++i)
        QVERIFY(!dialog.rowWidget(i));
    QCOMPARE(comboItems(row->descriptorCombo), QStringList{kDefault});
    QCOMPARE(row->descriptorCombo->currentText(), kDefault);
    QCOMPARE(row->fcNumberCombo->currentIndex(), 0);
    QCOMPARE(row->fcNumberCombo->currentText(), QStringLiteral("Select"));
    QCOMPARE(row->fcNumberCombo->count(), 9);
    QCOMPARE(row->fcNumberCombo->itemText(8), QStringLiteral("FC 8"));
    QVERIFY(row->descriptorCombo->isEditable());
    QVERIFY(row->descriptorCombo->toolTip().startsWith(QStringLiteral("Enter the Instrument descriptor")));
    QCOMPARE(dialog.countSelector()->currentIndex(), 0);

    // The count selector of a one-row model is never shown.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.countSelector()->isVisible());
    QVERIFY(row->isEnabled());
    dialog.reject();

    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{kDefault});
    QCOMPARE(numbers, QList<int>{0});
}

void tst_Addresses::oneRowModel()
{
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    setItems(dialog.rowWidget(0), {QStringLiteral("VXI0::1::INSTR")}, QStringLiteral("VXI0::3::INSTR"));
    dialog.rowWidget(0)->fcNumberCombo->setCurrentIndex(4);
    QStringList descriptors{QStringLiteral("stale")};
    QList<int> numbers{9, 9};
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{QStringLiteral("VXI0::3::INSTR")});
    QCOMPARE(numbers, QList<int>{4});

    QSettings settings(path, QSettings::IniFormat);
    QCOMPARE(settings.childGroups(), QStringList{QStringLiteral("7480")});
    settings.beginGroup(QStringLiteral("7480"));
    QStringList keys = settings.childKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"1.1.Descriptor", "1.2.Descriptor", "1.3.Descriptor", "1.4.Descriptor",
                                "1.5.Descriptor", "1.FC_Number", "FC_Count"}));
    QCOMPARE(settings.value("1.1.Descriptor").toString(), QStringLiteral("VXI0::3::INSTR"));
    QCOMPARE(settings.value("1.2.Descriptor").toString(), QStringLiteral("VXI0::1::INSTR"));
    QCOMPARE(settings.value("1.3.Descriptor").toString(), QString());
    QCOMPARE(settings.value("1.FC_Number").toInt(), 4);
    QCOMPARE(settings.value("FC_Count").toInt(), 1);

    // The next dialog comes back with the most recent entry shown.
    zr6200fp_fcEnterAddress again(&card);
    again.loadAddresses();
    QCOMPARE(comboItems(again.rowWidget(0)->descriptorCombo),
             (QStringList{QStringLiteral("VXI0::3::INSTR"), QStringLiteral("VXI0::1::INSTR")}));
    QCOMPARE(again.rowWidget(0)->descriptorCombo->currentText(), QStringLiteral("VXI0::3::INSTR"));
    QCOMPARE(again.rowWidget(0)->fcNumberCombo->currentIndex(), 4);
}

void tst_Addresses::multiCardModel()
{
    const FakeCard card(0x5902, 0x5902);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tervix 5902 SFP: Enter Addresses of Function Cards"));
    for (int i = 0; i < zr6200fp_fcEnterAddress::kRows; ++i) {
        QVERIFY(dialog.rowWidget(i));
        setItems(dialog.rowWidget(i), {}, QStringLiteral("VXI0::%1::INSTR").arg(i + 1));
        dialog.rowWidget(i)->fcNumberCombo->setCurrentIndex(i + 1);
    }
    QCOMPARE(dialog.rowWidget(1)->descriptorCombo->count(), 0);
    dialog.countSelector()->setCurrentIndex(1);

    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, (QStringList{QStringLiteral("VXI0::1::INSTR"), QStringLiteral("VXI0::2::INSTR")}));
    QCOMPARE(numbers, (QList<int>{1, 2}));

    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("5902"));
    QCOMPARE(settings.childKeys().size(), 8 * 6 + 1);
    QCOMPARE(settings.value("8.1.Descriptor").toString(), QStringLiteral("VXI0::8::INSTR"));
    QCOMPARE(settings.value("8.FC_Number").toInt(), 8);
    QCOMPARE(settings.value("FC_Count").toInt(), 2);

    zr6200fp_fcEnterAddress again(&card);
    again.loadAddresses();
    QCOMPARE(again.countSelector()->currentIndex(), 1);
    QVERIFY(again.rowWidget(1)->isEnabled());
    QVERIFY(!again.rowWidget(2)->isEnabled());
    QCOMPARE(again.rowWidget(7)->descriptorCombo->currentText(), QStringLiteral("VXI0::8::INSTR"));
    // Rows after the first have no default descriptor.
    QFile::remove(path);
    again.loadAddresses();
    QCOMPARE(again.rowWidget(1)->descriptorCombo->count(), 0);
    QCOMPARE(again.rowWidget(1)->descriptorCombo->currentText(), QString());
    QCOMPARE(again.rowWidget(0)->descriptorCombo->currentText(), kDefault);
}

void tst_Addresses::historyOrder_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("current moves first") << QStringList{"A", "B", "C", "D", "E"} << "D"
                                         << QStringList{"D", "A", "B", "C", "E"};
    QTest::newRow("new text pushes the oldest out")
        << QStringList{"A", "B", "C", "D", "E"} << "F" << QStringList{"F", "A", "B", "C", "D"};
    QTest::newRow("repeated items") << QStringList{"A", "A", "B", "A"} << "B" << QStringList{"B", "A", "", "", ""};
    QTest::newRow("empty current") << QStringList{"A", "B"} << "" << QStringList{"", "A", "B", "", ""};
    QTest::newRow("nothing") << QStringList{} << "" << QStringList{"", "", "", "", ""};
    QTest::newRow("case matters") << QStringList{"vxi0::1::INSTR"} << "VXI0::1::INSTR"
                                  << QStringList{"VXI0::1::INSTR", "vxi0::1::INSTR", "", "", ""};
}

void tst_Addresses::historyOrder()
{
    QFETCH(QStringList, items);
    QFETCH(QString, current);
    QFETCH(QStringList, stored);
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    setItems(dialog.rowWidget(0), items, current);
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{current});
    QCOMPARE(storedHistory(path, QStringLiteral("7480"), 1), stored);

    dialog.loadAddresses();
    QStringList shown = stored;
    shown.removeAll(QString());
    if (stored.first().isEmpty())
        shown.prepend(kDefault);
    QCOMPARE(comboItems(dialog.rowWidget(0)->descriptorCombo), shown);
}

void tst_Addresses::oddDescriptorsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("long") << QString(5000, QLatin1Char('x'));
    QTest::newRow("comma") << QStringLiteral("VXI0::1::INSTR,VXI0::2::INSTR");
    QTest::newRow("quotes and escapes") << QStringLiteral("\"a\\b\" ; = # [x] %20 \\n");
    QTest::newRow("leading at") << QStringLiteral("@Variant(abc)");
    QTest::newRow("blanks around") << QStringLiteral("  TCPIP0::1.2.3.4::INSTR  ");
    QTest::newRow("non-Latin") << QString::fromUtf8("TCPIP::\u00e9\u4e2d\U0001F600::INSTR");
    QTest::newRow("control characters") << QStringLiteral("a\tb\x01"
                                                          "c");
}

void tst_Addresses::oddDescriptorsRoundTrip()
{
    QFETCH(QString, text);
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    setItems(dialog.rowWidget(0), {}, text);
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{text});

    zr6200fp_fcEnterAddress again(&card);
    again.loadAddresses();
    QCOMPARE(again.rowWidget(0)->descriptorCombo->itemText(0), text);
    QCOMPARE(again.rowWidget(0)->descriptorCombo->currentText(), text);
}

void tst_Addresses::damagedCount_data()
{
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("index");
    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("9") << QByteArray("9") << 0;
    QTest::newRow("-3") << QByteArray("-3") << 0;
    QTest::newRow("text") << QByteArray("three") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("huge") << QByteArray("99999999999999999999") << 0;
    QTest::newRow("8") << QByteArray("8") << 7;
    QTest::newRow("3") << QByteArray("3") << 2;
}

void tst_Addresses::damagedCount()
{
    QFETCH(QByteArray, count);
    QFETCH(int, index);
    writeFile(path, "[5938]\nFC_Count=" + count + "\n");
    const FakeCard card(0x5938, 0x5938);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.countSelector()->setCurrentIndex(5);
    dialog.loadAddresses();
    QCOMPARE(dialog.countSelector()->currentIndex(), index);
    for (int i = 0; i < zr6200fp_fcEnterAddress::kRows; ++i)
        QCOMPARE(dialog.rowWidget(i)->isEnabled(), i <= index);
}

void tst_Addresses::damagedFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("number");
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[[[\n=\n\x01\x02", 12) << QStringList{kDefault} << 0;
    QTest::newRow("unterminated group") << QByteArray("[7480\n1.1.Descriptor=VXI0::1::INSTR\n")
                                        << QStringList{"VXI0::1::INSTR"} << 0;
    QTest::newRow("unquoted commas") << QByteArray("[7480]\n1.1.Descriptor=VXI0::1::INSTR, VXI0::2::INSTR\n")
                                     << QStringList{"VXI0::1::INSTR,VXI0::2::INSTR"} << 0;
    QTest::newRow("number is text") << QByteArray("[7480]\n1.1.Descriptor=A\n1.FC_Number=two\n") << QStringList{"A"}
                                    << 0;
    QTest::newRow("number too large") << QByteArray("[7480]\n1.1.Descriptor=A\n1.FC_Number=9\n") << QStringList{"A"}
                                      << 0;
    QTest::newRow("number negative") << QByteArray("[7480]\n1.1.Descriptor=A\n1.FC_Number=-1\n") << QStringList{"A"}
                                     << 0;
    QTest::newRow("number 8") << QByteArray("[7480]\n1.1.Descriptor=A\n1.FC_Number=8\n") << QStringList{"A"} << 8;
    QTest::newRow("gaps and repeats")
        << QByteArray("[7480]\n1.2.Descriptor=B\n1.4.Descriptor=B\n1.5.Descriptor=C\n1.9.Descriptor=Z\n")
        << QStringList{kDefault, "B", "B", "C"} << 0;
    QTest::newRow("variant value") << QByteArray("[7480]\n1.1.Descriptor=@ByteArray(VXI0::4::INSTR)\n")
                                   << QStringList{"VXI0::4::INSTR"} << 0;
    QTest::newRow("very long line") << QByteArray("[7480]\n1.1.Descriptor=") + QByteArray(100000, 'q') + "\n"
                                    << QStringList{QString(100000, QLatin1Char('q'))} << 0;
}

void tst_Addresses::damagedFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, items);
    QFETCH(int, number);
    writeFile(path, contents);
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QCOMPARE(comboItems(dialog.rowWidget(0)->descriptorCombo), items);
    QCOMPARE(dialog.rowWidget(0)->fcNumberCombo->currentIndex(), number);

    // Saving over a damaged file keeps what is in the row.
    dialog.rowWidget(0)->descriptorCombo->setEditText(QStringLiteral("VXI0::7::INSTR"));
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{QStringLiteral("VXI0::7::INSTR")});
    QCOMPARE(numbers, QList<int>{number});
    dialog.loadAddresses();
    QCOMPARE(dialog.rowWidget(0)->descriptorCombo->currentText(), QStringLiteral("VXI0::7::INSTR"));
}

void tst_Addresses::countChanged()
{
    const FakeCard card(0x5938, 0x5938);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tervix 5938 SFP: Enter Addresses of Function Cards"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QComboBox *count = dialog.countSelector();
    QVERIFY(count->isVisible());
    QCOMPARE(count->count(), 8);
    QCOMPARE(count->itemText(0), QStringLiteral("1"));
    const auto labels = dialog.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
                        [](const QLabel *l) { return l->text() == QLatin1String("Count: "); }));
    QVERIFY(dialog.rowWidget(0)->isEnabled());
    QVERIFY(!dialog.rowWidget(1)->isEnabled());

    count->setFocus();
    QTest::keyClick(count, Qt::Key_Down);
    QTest::keyClick(count, Qt::Key_Down);
    QCOMPARE(count->currentIndex(), 2);
    for (int i = 0; i < zr6200fp_fcEnterAddress::kRows; ++i)
        QCOMPARE(dialog.rowWidget(i)->isEnabled(), i < 3);
    count->setCurrentIndex(7);
    for (int i = 0; i < zr6200fp_fcEnterAddress::kRows; ++i)
        QVERIFY(dialog.rowWidget(i)->isEnabled());
    count->setCurrentIndex(0);
    for (int i = 1; i < zr6200fp_fcEnterAddress::kRows; ++i)
        QVERIFY(!dialog.rowWidget(i)->isEnabled());
    dialog.reject();
}

// When the settings cannot be written, showing the rows again must still
// bring back what the user typed.
void tst_Addresses::unwritableFolderKeepsInput()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    writeFile(blocker, "not a folder");
    const QByteArray saved = qgetenv("ALLUSERSPROFILE");
    qputenv("ALLUSERSPROFILE", QFile::encodeName(blocker + QLatin1String("/profile")));
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    qputenv("ALLUSERSPROFILE", saved);

    dialog.loadAddresses();
    setItems(dialog.rowWidget(0), {kDefault}, QStringLiteral("VXI3::5::INSTR"));
    dialog.rowWidget(0)->fcNumberCombo->setCurrentIndex(6);
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors, QStringList{QStringLiteral("VXI3::5::INSTR")});
    QCOMPARE(numbers, QList<int>{6});
    QVERIFY(!QFile::exists(dialog.settingsFile()));

    dialog.loadAddresses();
    QCOMPARE(comboItems(dialog.rowWidget(0)->descriptorCombo),
             (QStringList{QStringLiteral("VXI3::5::INSTR"), kDefault}));
    QCOMPARE(dialog.rowWidget(0)->fcNumberCombo->currentIndex(), 6);
}

void tst_Addresses::okAndCancel()
{
    const FakeCard card;
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    const auto buttons = dialog.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 2);
    for (const QPushButton *b : buttons)
        QVERIFY(!b->autoDefault());

    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("OK")).click(QStringLiteral("Cancel"));
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(answerer.seen().size(), 2);
    QCOMPARE(answerer.seen().first().title, QStringLiteral("Tervix 7480 SFP: Enter Function Card Address"));
    QVERIFY(answerer.unexpected().isEmpty());
}

void tst_Addresses::addressProblem_data()
{
    QTest::addColumn<QStringList>("descriptors");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("warning");
    const QString atLeast =
        QStringLiteral("Please enter at least one resource descriptor and select the Function Card number.");
    const QString plural =
        QStringLiteral("Please enter the resource descriptors and select the Function Card numbers.");
    const QString single = QStringLiteral("Please enter the resource descriptor and select the Function Card number.");
    QTest::newRow("nothing") << QStringList{} << QList<int>{} << atLeast;
    QTest::newRow("no numbers") << QStringList{"A"} << QList<int>{} << atLeast;
    QTest::newRow("no descriptors") << QStringList{} << QList<int>{1} << atLeast;
    QTest::newRow("lengths differ") << QStringList{"A", "B"} << QList<int>{1} << atLeast;
    QTest::newRow("one, no number") << QStringList{"A"} << QList<int>{0} << single;
    QTest::newRow("one, empty") << QStringList{""} << QList<int>{3} << single;
    QTest::newRow("second empty") << QStringList{"A", ""} << QList<int>{2, 5} << plural;
    QTest::newRow("second Select") << QStringList{"A", "B"} << QList<int>{2, 0} << plural;
    QTest::newRow("one valid") << QStringList{"A"} << QList<int>{1} << QString();
    QTest::newRow("eight valid") << QStringList{"A", "B", "C", "D", "E", "F", "G", "H"}
                                 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << QString();
}

void tst_Addresses::addressProblem()
{
    QFETCH(QStringList, descriptors);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, warning);
    QCOMPARE(zr6200fp_fcSelect::addressProblem(descriptors, numbers), warning);
}

ZR_TEST_MAIN(tst_Addresses)
#include "tst_addresses.moc"
