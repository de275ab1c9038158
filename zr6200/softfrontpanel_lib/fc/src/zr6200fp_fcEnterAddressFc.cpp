#include "zr6200fp_fcEnterAddressFc.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

// The caption names the box for a screen reader.
QLabel *caption(const QString &text, QComboBox *box, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

} // namespace

zr6200fp_fcEnterAddressFc::zr6200fp_fcEnterAddressFc(QWidget *parent)
    : QWidget(parent)
    , descriptorCombo(new QComboBox(this))
    , fcNumberCombo(new QComboBox(this))
{
    auto *rowLayout = new QVBoxLayout(this);
    rowLayout->setContentsMargins(0, 0, 0, 0);

    auto *descriptorLine = new QHBoxLayout;
    rowLayout->addLayout(descriptorLine);
    QLabel *descriptorCaption = caption(tr("Instrument Descriptor:"), descriptorCombo, this);
    descriptorLine->addWidget(descriptorCaption);
    descriptorCombo->setEditable(true);
    // The box's text field is an object of its own on the bus.
    descriptorCombo->lineEdit()->setAccessibleName(descriptorCaption->text());
    descriptorCombo->setMinimumWidth(20 * fontMetrics().height());
    const QString descriptorTip =
        tr("Enter the Instrument descriptor for the Function Card you want to connect to.<br>Examples:<br>"
           "<b>VXI0::1::INSTR</b> - VXI mainframe 0, Module with Logical Address 1<br>"
           "<b>TCPIP::192.168.2.60::INSTR</b> - Network Instrument with IP Address 192.168.2.60");
    descriptorCombo->setToolTip(descriptorTip);
    // A screen reader reads the tool tip as the description, tags and all.
    descriptorCombo->setAccessibleDescription(QTextDocumentFragment::fromHtml(descriptorTip).toPlainText());
    descriptorLine->addWidget(descriptorCombo);

    auto *numberLine = new QHBoxLayout;
    rowLayout->addLayout(numberLine);
    numberLine->addWidget(caption(tr("Function Card Number:"), fcNumberCombo, this));
    fcNumberCombo->addItem(tr("Select"));
    for (int i = 1; i <= 8; ++i)
        fcNumberCombo->addItem(tr("FC %1").arg(i));
    fcNumberCombo->setToolTip(tr("Select the Function Card Number"));
    numberLine->addWidget(fcNumberCombo);
    numberLine->addStretch();
}
