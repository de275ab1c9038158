#include <QMessageBox>
#include <QPushButton>
#include <cstring>

#include "zr6200.h"
#include "zr6200fp_driverTrace.h"
#include "zr6200fp_fcEnterAddress.h"
#include "zr6200fp_fcSelect.h"
#include "zr6200fp_genFC.h"
#include "zr6200fp_icons.h"
#include "zr6200fp_messages.h"
#include "zr6200fp_questionBox.h"

namespace {

constexpr size_t kStatusTextSize = 1024;

int enterDemoMode(zr6200fp_fcSelect &select)
{
    select.demoMode = 1;
    select.fcNumbers[0] = 1;
    select.descriptor = QStringLiteral("VXI0::1::INSTR");
    select.fcCount = 1;
    return 1;
}

// Shows the address dialog until it gives usable addresses (true) or is
// rejected (false).
bool takeAddresses(zr6200fp_fcSelect &select, zr6200fp_fcEnterAddress &addresses)
{
    for (;;) {
        addresses.loadAddresses();
        if (addresses.exec() != QDialog::Accepted)
            return false;
        QStringList descriptors;
        QList<int> numbers;
        addresses.getAddresses(descriptors, numbers);
        const QString problem = zr6200fp_fcSelect::addressProblem(descriptors, numbers);
        if (!problem.isEmpty()) {
            warningMessage(problem);
            continue;
        }
        select.descriptor = descriptors.join(QLatin1Char(','));
        for (int i = 0; i < numbers.size(); ++i)
            select.fcNumbers[size_t(i)] = quint16(numbers.at(i));
        select.fcCount = int(descriptors.size());
        return true;
    }
}

QString failureText(const zr6200fp_genFC *card, ViStatus status)
{
    const QString text = card->getErrorMessage(status);
    if (!text.isEmpty())
        return text;
    char buffer[kStatusTextSize] = {};
    ZR_DRIVER_CALL(getStatusText, status, buffer);
    return QString::fromLatin1(buffer, int(strnlen(buffer, kStatusTextSize)));
}

} // namespace

QString zr6200fp_fcSelect::addressProblem(const QStringList &descriptors, const QList<int> &numbers)
{
    if (descriptors.isEmpty() || numbers.isEmpty() || descriptors.size() != numbers.size())
        return tr("Please enter at least one resource descriptor and select the Function Card number.");
    for (int i = 0; i < descriptors.size(); ++i) {
        if (descriptors.at(i).isEmpty() || numbers.at(i) == 0) {
            return descriptors.size() > 1
                       ? tr("Please enter the resource descriptors and select the Function Card numbers.")
                       : tr("Please enter the resource descriptor and select the Function Card number.");
        }
    }
    return QString();
}

int zr6200fp_fcSelect::selectAndConnect()
{
    zr6200fp_fcEnterAddress addresses(card);
    const QString model = card->modelText();

    QMessageBox howBox(QMessageBox::Question, selectionTitle(), tr("How to connect to %1 Function Card?").arg(model),
                       QMessageBox::NoButton, nullptr);
    howBox.setWindowIcon(zr6200fp_icons::windowIcon());
    QPushButton *const autoFindButton = howBox.addButton(tr("Auto Find"), QMessageBox::ActionRole);
    QPushButton *const demoButton = howBox.addButton(tr("Run In Demo Mode"), QMessageBox::ActionRole);
    QPushButton *const addressButton = howBox.addButton(tr("Enter Address"), QMessageBox::ActionRole);
    howBox.addButton(QMessageBox::Cancel);
    howBox.setDefaultButton(autoFindButton);

    for (;;) {
        howBox.exec();
        const QAbstractButton *const choice = howBox.clickedButton();
        if (choice == autoFindButton) {
            const int found = searchCards();
            if (found > 1) {
                if (exec() != QDialog::Accepted)
                    return 0;
            } else if (found == 0) {
                const int answer =
                    askQuestion(this, selectionTitle(), tr("No %1 Function Card found on your system.").arg(model),
                                {tr("Try Again"), tr("Run In Demo Mode"), tr("Cancel")});
                if (answer == 0)
                    continue;
                return answer == 1 ? enterDemoMode(*this) : 0;
            } else {
                fcCount = 1;
            }
        } else if (choice == addressButton) {
            if (!takeAddresses(*this, addresses))
                continue;
        } else if (choice == demoButton) {
            return enterDemoMode(*this);
        } else {
            return 0;
        }

        const QByteArray name = descriptor.toLatin1();
        const ViStatus status = card->init(name.constData(), fcNumbers.data(), 1, 1, &session);
        if (status == VI_SUCCESS)
            return 1;
        // A warning status counts as a failure, but the driver opened a
        // session for it: do not leave it behind.
        if (session != 0) {
            card->close(session);
            session = 0;
        }
        const QString text = fcCount > 1 ? tr("At least one selected %1 Function Card is unavailable.\nError: %2")
                                         : tr("Selected %1 Function Card is unavailable.\nError: %2");
        if (askQuestion(this, selectionTitle(), text.arg(model, failureText(card, status)),
                        {tr("Try Again"), tr("Cancel")}) != 0)
            return 0;
    }
}
