#include "zr6200fp_fcEnterAddressFc.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

zr6200fp_fcEnterAddressFc::zr6200fp_fcEnterAddressFc(QWidget *parent)
    : QWidget(parent)
    , descriptorCombo(new QComboBox(this))
    , fcNumberCombo(new QComboBox(this))
{
    auto *rowLayout = new QVBoxLayout(this);
    rowLayout->setContentsMargins(0, 0, 0, 0);

    auto *descriptorLine = new QHBoxLayout;
    rowLayout->addLayout(descriptorLine);
    descriptorLine->addWidget(new QLabel(tr("Instrument Descriptor:"), this));
    descriptorCombo->setEditable(true);
    descriptorCombo->setMinimumWidth(20 * fontMetrics().height());
    descriptorCombo->setToolTip(
        tr("Enter the Instrument descriptor for the Function Card you want to connect to.<br>Examples:<br>"
           "<b>VXI0::1::INSTR</b> - VXI mainframe 0, Module with Logical Address 1<br>"
           "<b>TCPIP::192.168.2.60::INSTR</b> - Network Instrument with IP Address 192.168.2.60"));
    descriptorLine->addWidget(descriptorCombo);

    auto *numberLine = new QHBoxLayout;
    rowLayout->addLayout(numberLine);
    numberLine->addWidget(new QLabel(tr("Function Card Number:"), this));
    fcNumberCombo->addItem(tr("Select"));
    for (int i = 1; i <= 8; ++i)
        fcNumberCombo->addItem(tr("FC %1").arg(i));
    fcNumberCombo->setToolTip(tr("Select the Function Card Number"));
    numberLine->addWidget(fcNumberCombo);
    numberLine->addStretch();
}
