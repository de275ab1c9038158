#include "zr7480fp/zr7480fp_Config.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/zr6200fp_help.h"
#include "core/zr6200fp_intXXL.h"
#include "digitctrl/zr6200fp_digitCtrl.h"
#include "zr7480.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp_cardCall.h"
#include "zr7480fp_pageLayout.h"

using namespace zr7480fp_pageLayout;

namespace {

constexpr double kDdsLowest = 12.5e6;
constexpr qint64 kDividerStart = 4;

} // namespace

ViUInt16 zr7480fp_Config::filterValue(int index)
{
    return ViUInt16(index <= 7 ? index : index + 8);
}

zr7480fp_Config::zr7480fp_Config(zr7480fp_App *window, zr6200fp_genFC *)
    : session(window->driverSession())
{
    auto *page = new QVBoxLayout(this);
    page->addLayout(channelBoxes());
    page->addWidget(clockBox());
    page->addWidget(synchBox());
    page->addStretch();
    showStartValues();
}

QStringList zr7480fp_Config::filterItems()
{
    QStringList filters;
    for (const char *hz : {"500Hz", "750Hz", "1kHz", "2kHz", "3kHz", "5kHz", "7kHz", "9kHz"})
        filters << tr("Butterworth %1").arg(QLatin1String(hz));
    filters << tr("Elliptic Mute");
    for (int khz = 10; khz <= 150; khz += 10)
        filters << tr("Elliptic %1kHz").arg(khz);
    return filters;
}

QHBoxLayout *zr7480fp_Config::channelBoxes()
{
    const QStringList filters = filterItems();
    auto *channels = new QHBoxLayout;
    for (int n = 1; n <= 2; ++n) {
        auto *box = new QGroupBox(tr("Channel %1").arg(n));
        zr6200fp_help::setHelp(box, tr("Configuration parameters for the channel %1").arg(n));
        auto *grid = centredGrid(box, 30, 20);
        QComboBox *&filter = filterCombo[n - 1];
        QComboBox *&gain = gainCombo[n - 1];
        QComboBox *&output = outputCombo[n - 1];
        filter = combo(filters, tr("Specifies which filter will be applied to the channel %1 output").arg(n));
        gain = combo({tr("x2"), tr("x1"), tr("x0.1"), tr("x0.01")},
                     tr("This parameter specifies the gain for channel %1.").arg(n));
        output = combo({tr("Disconnected"), tr("Grounded"), tr("Connected")},
                       tr("Specifies the state of front panel output relays for the channel %1.").arg(n));
        addRow(grid, 0, 0, tr("Filter"), filter, Qt::AlignRight);
        addRow(grid, 1, 0, tr("Gain"), gain, Qt::AlignRight);
        addRow(grid, 2, 0, tr("Output"), output, Qt::AlignRight);
        for (QComboBox *combo : {filter, gain, output})
            connect(combo, qOverload<int>(&QComboBox::activated), this, &zr7480fp_Config::setChCfg);
        channels->addWidget(box);
    }
    return channels;
}

QGroupBox *zr7480fp_Config::clockBox()
{
    auto *clockBox = new QGroupBox(tr("Clock"));
    zr6200fp_help::setHelp(clockBox, tr("Specifies the configuration of the Front Panel Output Clock circuitry."));
    auto *clockGrid = centredGrid(clockBox, 30, 20);
    const QStringList sources{tr("Internal"), tr("Own ITRI"), tr("Neighb ITRI"), tr("Off")};
    clockSourceCombo = combo(sources, tr("Specifies the source of the PLL reference clock."));
    synchSourceCombo = combo(sources, tr("Specifies the source of the signal for synchronization of DDS circuitry."));
    ddsFrequencyCtrl = new zr6200fp_digitCtrl(kDdsLowest, 25e6, 1e6, "%.4e", nullptr);
    zr6200fp_help::setHelp(ddsFrequencyCtrl, tr("Specifies the DDS output frequency in Hertz."));
    clockDividerCtrl = new zr6200fp_digitCtrl(qint64(0), qint64(4095), qint64(1), false, 12, "%d", nullptr);
    zr6200fp_help::setHelp(
        clockDividerCtrl,
        tr("Specifies the division ratio between DDS clock and Front Panel output clock. Possible values are from 0 "
           "to 4096. '0' value means clock divider is disabled."));
    fpClockOutputCombo = combo({tr("Disabled"), tr("ECL"), tr("TTL"), tr("TTL Term")},
                               tr("Specifies the type of the Front Panel output clock signal."));
    mbClockOutputCombo = combo({tr("Disabled"), tr("Enabled")},
                               tr("Enables the propagation of clock from 2MHz on-board oscillator to the "
                                  "Motherboard Output Trigger line"));
    addRow(clockGrid, 0, 0, tr("Clock Source"), clockSourceCombo, Qt::AlignRight);
    addRow(clockGrid, 0, 2, tr("Synch Source"), synchSourceCombo, Qt::AlignRight);
    addRow(clockGrid, 1, 0, tr("DDS Frequency"), ddsFrequencyCtrl, Qt::AlignRight);
    addRow(clockGrid, 1, 2, tr("Clock Divider"), clockDividerCtrl, Qt::AlignRight);
    addRow(clockGrid, 2, 0, tr("FP Clock Output"), fpClockOutputCombo, Qt::AlignRight);
    addRow(clockGrid, 2, 2, tr("MB Clock Output"), mbClockOutputCombo);
    for (QComboBox *combo : {clockSourceCombo, synchSourceCombo, fpClockOutputCombo, mbClockOutputCombo})
        connect(combo, qOverload<int>(&QComboBox::activated), this, &zr7480fp_Config::setClkCfg);
    connect(ddsFrequencyCtrl, qOverload<double>(&zr6200fp_digitCtrl::valueChanged), this, &zr7480fp_Config::setClkCfg);
    connect(clockDividerCtrl, qOverload<qint64>(&zr6200fp_digitCtrl::valueChanged), this, &zr7480fp_Config::setClkCfg);
    return clockBox;
}

QGroupBox *zr7480fp_Config::synchBox()
{
    auto *synchBox = new QGroupBox;
    auto *synchGrid = centredGrid(synchBox, 30, 30);
    fpSynchModeCombo =
        combo({tr("Disabled"), tr("1st pulse ignored"), tr("1st and 3rd pulse ignored"), tr("All passed")},
              tr("Specifies the mode of propagation of Input Trigger signal to Front Panel Synch signal."));
    addRow(synchGrid, 0, 0, tr("ITRI to FP Synch Mode"), fpSynchModeCombo, Qt::AlignRight);
    connect(fpSynchModeCombo, qOverload<int>(&QComboBox::activated), this, &zr7480fp_Config::setFpSoCfg);
    return synchBox;
}

void zr7480fp_Config::showStartValues()
{
    const auto combos = findChildren<QComboBox *>();
    for (QComboBox *combo : combos)
        combo->setCurrentIndex(0);
    const QSignalBlocker ddsQuiet(ddsFrequencyCtrl);
    const QSignalBlocker dividerQuiet(clockDividerCtrl);
    ddsFrequencyCtrl->setValue(kDdsLowest);
    clockDividerCtrl->setValue(intXXL(kDividerStart));
}

void zr7480fp_Config::setChCfg()
{
    for (int n = 1; n <= 2; ++n) {
        const ViUInt16 filter = filterValue(filterCombo[n - 1]->currentIndex());
        ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_configureChannel, session, n, filter,
                                               gainCombo[n - 1]->currentIndex(), outputCombo[n - 1]->currentIndex());
    }
}

void zr7480fp_Config::setClkCfg()
{
    const auto divider = ViUInt16(clockDividerCtrl->valueXXL().toLongLong() & 0xFFFF);
    ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_configureClock, session, clockSourceCombo->currentIndex(),
                                           ddsFrequencyCtrl->value(), divider, synchSourceCombo->currentIndex(),
                                           fpClockOutputCombo->currentIndex(), mbClockOutputCombo->currentIndex());
}

void zr7480fp_Config::setFpSoCfg()
{
    ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_configureFpSynch, session, fpSynchModeCombo->currentIndex());
}
