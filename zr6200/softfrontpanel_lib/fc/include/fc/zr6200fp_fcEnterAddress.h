#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

class QComboBox;
class QSettings;
class zr6200fp_fcEnterAddressFc;
class zr6200fp_genFC;

// Modal dialog in which the user types the descriptor and card number of
// one card (eight for the multi-card models 5902 and 5938). Every confirmed
// entry is remembered in DefaultInstrDescr.ini, in the card model's group.
class zr6200fp_fcEnterAddress final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kRows = 8;
    static constexpr int kHistory = 5;

    explicit zr6200fp_fcEnterAddress(const zr6200fp_genFC *card);

    // Fills the rows from the settings file.
    void loadAddresses();
    // Saves every row, then returns the descriptor and card number of each
    // row in use. The caller validates them.
    void getAddresses(QStringList &descriptors, QList<int> &fcNumbers);

    // The remembered descriptors of a row: the current text first, then the
    // items without repeats, kHistory at most.
    static QStringList historyOrder(const QString &current, const QStringList &items);

    // The controls of row index (from 0); null for a row the dialog lacks.
    QComboBox *descriptorCombo(int index) const;
    QComboBox *fcNumberCombo(int index) const;
    QComboBox *countSelector() const { return countCombo; }
    const QString &settingsFile() const { return settingsPath; }

public slots:
    void countChanged();

private:
    void enableRows();
    void setKeyboardOrder(QWidget *okButton, QWidget *cancelButton);
    bool fileUsable() const;
    // False when the file's lock cannot be had within kLockWaitMs.
    bool lockAvailable() const;
    static constexpr int kLockWaitMs = 1000;
    // A value not saved in this run, else the file's (none: the default).
    QVariant storedValue(const QSettings *settings, const QString &key, const QVariant &defaultValue) const;

    std::array<zr6200fp_fcEnterAddressFc *, kRows> rowWidgets{};
    const QString settingsGroup;
    const QString settingsPath;
    QComboBox *const countCombo;
    // What the last save could not write.
    QHash<QString, QVariant> unsavedValues;
};
