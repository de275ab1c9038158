#pragma once

#include <QStringList>
#include <QWidget>

#include "visa.h"

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class zr6200fp_digitCtrl;
class zr6200fp_genFC;
class zr7480fp_App;

// The "Configuration" page. Write-only: nothing is read back from the card
// and nothing is sent at construction; each user change sends the whole
// group of the changed control as the controls show it.
class zr7480fp_Config final : public QWidget
{
    Q_OBJECT
public:
    zr7480fp_Config(zr7480fp_App *window, zr6200fp_genFC *card);

    // The driver's filter value for a filter item: the index for the eight
    // Butterworth filters, index + 8 for the Elliptic ones.
    static ViUInt16 filterValue(int index);

    QComboBox *filterCombo[2] = {};
    QComboBox *gainCombo[2] = {};
    QComboBox *outputCombo[2] = {};
    QComboBox *clockSourceCombo = nullptr;
    QComboBox *synchSourceCombo = nullptr;
    QComboBox *fpClockOutputCombo = nullptr;
    QComboBox *mbClockOutputCombo = nullptr;
    zr6200fp_digitCtrl *ddsFrequencyCtrl = nullptr;
    zr6200fp_digitCtrl *clockDividerCtrl = nullptr;
    QComboBox *fpSynchModeCombo = nullptr;
    ViSession session = 0;

public slots:
    void setChCfg();
    void setClkCfg();
    void setFpSoCfg();
    // Back to the values the page starts with (a reset card's defaults),
    // sending nothing.
    void showStartValues();

private:
    // The page's groups, top to bottom.
    QHBoxLayout *channelBoxes();
    QGroupBox *clockBox();
    QGroupBox *synchBox();
    // The filter box's items in driver order (see filterValue).
    static QStringList filterItems();
};
