#include "fc/zr6200fp_fcEnterAddress.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <optional>

#include "core/zr6200fp_cardModels.h"
#include "core/zr6200fp_settingsLocation.h"
#include "driver/zr6200fp_genFC.h"
#include "resources/zr6200fp_icons.h"
#include "zr6200fp_fcEnterAddressFc.h"

namespace {

const char *const kDefaultDescriptor = "TCPIP::192.168.2.100::INSTR";

QString descriptorKey(int row, int entry)
{
    return QStringLiteral("%1.%2.Descriptor").arg(QString::number(row), QString::number(entry));
}

QString fcNumberKey(int row)
{
    return QStringLiteral("%1.FC_Number").arg(row);
}

const QString &countKey()
{
    static const QString key = QStringLiteral("FC_Count");
    return key;
}

// A hand-edited value with unquoted commas reads as a list.
QString textOf(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

zr6200fp_fcEnterAddress::zr6200fp_fcEnterAddress(const zr6200fp_genFC *card)
    : QDialog(nullptr)
    , settingsGroup(zr6200fp_cardModels::modelText(card->modelCode))
    , settingsPath(zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current()))
    , countCombo(new QComboBox(this))
{
    const bool multiCard = zr6200fp_cardModels::takesSeveralCards(card->modelCode);
    setWindowTitle(multiCard ? tr("Tervix %1 SFP: Enter Addresses of Function Cards").arg(settingsGroup)
                             : tr("Tervix %1 SFP: Enter Function Card Address").arg(settingsGroup));
    setWindowIcon(zr6200fp_icons::windowIcon());

    for (int i = 1; i <= kRows; ++i)
        countCombo->addItem(QString::number(i));

    auto *buttonLine = new QHBoxLayout;
    if (multiCard) {
        auto *countLabel = new QLabel(tr("Count: "), this);
        countLabel->setBuddy(countCombo);
        buttonLine->addWidget(countLabel);
        buttonLine->addWidget(countCombo);
    } else {
        countCombo->hide();
    }
    buttonLine->addStretch();
    auto *okButton = new QPushButton(tr("OK"), this);
    auto *cancelButton = new QPushButton(tr("Cancel"), this);
    okButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    buttonLine->addWidget(okButton);
    buttonLine->addWidget(cancelButton);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *mainLayout = new QVBoxLayout;
    for (int i = 0; i < kRows; ++i) {
        if (i == 0 || multiCard) {
            rowWidgets[size_t(i)] = new zr6200fp_fcEnterAddressFc(this);
            mainLayout->addWidget(rowWidgets[size_t(i)]);
            mainLayout->addSpacing(10);
        }
    }
    mainLayout->addLayout(buttonLine);
    setLayout(mainLayout);

    connect(countCombo, qOverload<int>(&QComboBox::currentIndexChanged), this, &zr6200fp_fcEnterAddress::countChanged);
    enableRows();
    setKeyboardOrder(okButton, cancelButton);
    adjustSize();
}

void zr6200fp_fcEnterAddress::setKeyboardOrder(QWidget *okButton, QWidget *cancelButton)
{
    // The buttons were made first; the keyboard goes through the rows first.
    QList<QWidget *> order;
    for (const zr6200fp_fcEnterAddressFc *row : rowWidgets) {
        if (row)
            order << row->descriptorCombo << row->fcNumberCombo;
    }
    order << countCombo << okButton << cancelButton;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

QStringList zr6200fp_fcEnterAddress::historyOrder(const QString &current, const QStringList &items)
{
    QStringList history{current};
    history << items;
    history.removeDuplicates();
    return history.mid(0, kHistory);
}

QComboBox *zr6200fp_fcEnterAddress::descriptorCombo(int index) const
{
    const zr6200fp_fcEnterAddressFc *row = index >= 0 && index < kRows ? rowWidgets.at(size_t(index)) : nullptr;
    return row ? row->descriptorCombo : nullptr;
}

QComboBox *zr6200fp_fcEnterAddress::fcNumberCombo(int index) const
{
    const zr6200fp_fcEnterAddressFc *row = index >= 0 && index < kRows ? rowWidgets.at(size_t(index)) : nullptr;
    return row ? row->fcNumberCombo : nullptr;
}

void zr6200fp_fcEnterAddress::countChanged()
{
    enableRows();
    adjustSize();
}

void zr6200fp_fcEnterAddress::enableRows()
{
    for (int i = 0; i < kRows; ++i) {
        if (auto *row = rowWidgets.at(size_t(i)))
            row->setEnabled(i < countCombo->currentIndex() + 1);
    }
}

bool zr6200fp_fcEnterAddress::fileUsable() const
{
    // A pipe or device at the file's place would block the settings class
    // for ever; such a file counts as unreadable and unwritable.
    const QFileInfo file(settingsPath);
    return !file.exists() || file.isFile();
}

bool zr6200fp_fcEnterAddress::lockAvailable() const
{
    // The settings class waits for its lock file for ever, and the folder is
    // shared by all users: a stale lock it may not remove (another user's,
    // under the sticky bit) or a folder at the lock's name would hang the
    // save. Anything but a file there could block even the look inside it.
    const QFileInfo lock(settingsPath + QLatin1String(".lock"));
    if (!lock.dir().exists())
        return true; // nothing can hold it; the settings class makes the folder
    if ((lock.exists() || lock.isSymLink()) && !lock.isFile())
        return false;
    QLockFile probe(lock.filePath());
    return probe.tryLock(kLockWaitMs);
}

QVariant zr6200fp_fcEnterAddress::storedValue(const QSettings *settings, const QString &key,
                                              const QVariant &defaultValue) const
{
    const auto unsaved = unsavedValues.constFind(key);
    if (unsaved != unsavedValues.constEnd())
        return *unsaved;
    return settings ? settings->value(key, defaultValue) : defaultValue;
}

void zr6200fp_fcEnterAddress::loadAddresses()
{
    std::optional<QSettings> file;
    if (fileUsable()) {
        file.emplace(settingsPath, QSettings::IniFormat);
        file->beginGroup(settingsGroup);
    }
    const QSettings *settings = file ? &*file : nullptr;
    for (int r = 1; r <= kRows; ++r) {
        zr6200fp_fcEnterAddressFc *row = rowWidgets.at(size_t(r - 1));
        if (!row)
            break;
        row->descriptorCombo->clear();
        for (int k = 1; k <= kHistory; ++k) {
            const QString text = textOf(storedValue(settings, descriptorKey(r, k), QVariant()));
            if (!text.isEmpty())
                row->descriptorCombo->addItem(text);
            else if (r == 1 && k == 1)
                row->descriptorCombo->addItem(QLatin1String(kDefaultDescriptor));
        }
        // A damaged file must not select a card number the row does not offer.
        const int number = storedValue(settings, fcNumberKey(r), QStringLiteral("0")).toInt();
        row->fcNumberCombo->setCurrentIndex(number >= 0 && number < row->fcNumberCombo->count() ? number : 0);
    }
    const int count = storedValue(settings, countKey(), QStringLiteral("1")).toInt();
    countCombo->setCurrentIndex(count - 1 >= 0 && count - 1 < countCombo->count() ? count - 1 : 0);
    // Shown again, the dialog starts at the first descriptor, selected so
    // that typing replaces it.
    QComboBox *first = rowWidgets.front()->descriptorCombo;
    first->lineEdit()->selectAll();
    first->setFocus();
}

void zr6200fp_fcEnterAddress::getAddresses(QStringList &descriptors, QList<int> &fcNumbers)
{
    descriptors.clear();
    fcNumbers.clear();
    QList<QPair<QString, QVariant>> values;
    for (int r = 1; r <= kRows; ++r) {
        const zr6200fp_fcEnterAddressFc *row = rowWidgets.at(size_t(r - 1));
        if (!row)
            break;
        const QString current = row->descriptorCombo->currentText();
        QStringList items;
        for (int i = 0; i < row->descriptorCombo->count(); ++i)
            items << row->descriptorCombo->itemText(i);
        const QStringList history = historyOrder(current, items);
        for (int k = 1; k <= kHistory; ++k)
            values.append({descriptorKey(r, k), history.value(k - 1)});
        values.append({fcNumberKey(r), row->fcNumberCombo->currentIndex()});
        if (r - 1 < countCombo->currentIndex() + 1) {
            descriptors << current;
            fcNumbers << row->fcNumberCombo->currentIndex();
        }
    }
    values.append({countKey(), countCombo->currentIndex() + 1});

    bool saved = false;
    if (fileUsable() && lockAvailable()) {
        QSettings settings(settingsPath, QSettings::IniFormat);
        settings.beginGroup(settingsGroup);
        for (const auto &value : std::as_const(values))
            settings.setValue(value.first, value.second);
        settings.endGroup();
        settings.sync();
        saved = settings.status() != QSettings::AccessError;
    }
    // What could not be written is kept, so that showing the rows again does
    // not lose what the user typed.
    unsavedValues.clear();
    if (!saved) {
        for (const auto &value : std::as_const(values))
            unsavedValues.insert(value.first, value.second);
    }
}
