#include "fc/zr6200fp_AppFC.h"

#include <QPushButton>
#include <cstdlib>

#include "about/zr6200fp_About.h"
#include "core/zr6200fp_cardModels.h"
#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "driver/zr6200fp_genFC.h"
#include "fc/zr6200fp_fcSelect.h"
#include "zr6200.h"

namespace {

// VISA's attribute texts.
constexpr size_t kAttributeTextSize = 256;

// An attribute text, empty unless the read succeeded.
QString tcpipText(ViSession session, ViAttr attribute)
{
    char text[kAttributeTextSize] = {};
    if (ZR_DRIVER_CALL(viGetAttribute, session, attribute, text) != VI_SUCCESS)
        return QString();
    return zr6200fp_driverText::fromBuffer(text);
}

} // namespace

zr6200fp_AppFC::zr6200fp_AppFC(zr6200fp_genFC *card, int multiSelect, bool noConnect)
    : card(card)
{
    connectCard(multiSelect, noConnect);
    const QString model = zr6200fp_cardModels::modelText(card->modelCode);
    showConnection(model);
    addAbout(model);
}

void zr6200fp_AppFC::connectCard(int multiSelect, bool noConnect)
{
    // The dialog holds the flow's outcome; it is gone before the window shows anything of it.
    zr6200fp_fcSelect select(card, multiSelect);
    if (noConnect) {
        demoMode = 1;
    } else {
        select.setWindowIcon(windowIcon());
        centerWidget(&select);
        if (select.selectAndConnect() == 0)
            std::exit(0);
        demoMode = select.demoMode;
    }

    session = select.session;
    for (int i = 0; i < zr6200fp_genFC::kMaxCards; ++i)
        fcNumbers[size_t(i)] = qint16(select.fcNumbers[size_t(i)]);
    setDemoMode(demoMode != 0);
    fcCount = select.fcCount;
    if (demoMode != 0) {
        isLxi = false;
        session = 0;
    }
}

void zr6200fp_AppFC::showConnection(const QString &model)
{
    QString moduleText;
    QString hostText;
    QString cardText;
    if (demoMode == 0) {
        ViInt16 slot = 0;
        if (ZR_DRIVER_CALL(viGetAttribute, session, VI_ATTR_SLOT, &slot) < 0) {
            isLxi = true;
            moduleText = tcpipText(session, VI_ATTR_TCPIP_DEVICE_NAME);
            hostText = tcpipText(session, VI_ATTR_TCPIP_HOSTNAME);
        } else {
            isLxi = false;
            moduleText = tr("Slot %1").arg(slot);
        }
        cardText = tr("FC %1").arg(fcNumbers[0]);
    }

    setWindowTitle(hostText.isEmpty() ? tr("Tervix %1 Soft Front Panel").arg(model)
                                      : tr("Tervix %1 Soft Front Panel: %2").arg(model, hostText));
    setHeaderText(QLatin1String("<html>Tervix ") + model + QLatin1String("<br><font size='2'>") +
                  card->getDescription() + QLatin1String("</font></html>"));
    showLxiLogo(isLxi);
    setModuleLabel(moduleText, isLxi ? tr("Shows which LXI module is connected to the Soft Front Panel")
                                     : tr("Shows which VXI module is connected to the Soft Front Panel"));
    setFcLabel(cardText, tr("Shows which function card is connected to the Soft Front Panel"));
}

void zr6200fp_AppFC::addAbout(const QString &model)
{
    // Cleared and terminated here: the library may leave it unwritten.
    char commonLibRevision[ZR6200_REVISION_SIZE] = {};
    ZR_DRIVER_CALL(getCommonLibRevision, commonLibRevision);
    commonLibRevision[ZR6200_REVISION_SIZE - 1] = '\0';

    // The About dialog takes 8-bit texts as Latin-1, as the card gives them.
    const QByteArray sfpRevision = card->getSfpRevision().toLatin1();
    const QByteArray driverRevision = card->getDriverRevision().toLatin1();
    const QByteArray modelText = model.toLatin1();
    const QByteArray copyright = card->getCopyright().toLatin1();
    aboutDialog = new zr6200fp_About(sfpRevision.constData(), driverRevision.constData(), modelText.constData(),
                                     copyright.constData(), this, commonLibRevision);
    aboutDialog->setWindowIcon(windowIcon());
    connect(aboutButton, &QPushButton::clicked, aboutDialog, &zr6200fp_About::show);
}

zr6200fp_AppFC::~zr6200fp_AppFC()
{
    if (demoMode == 0)
        card->close(session);
}
