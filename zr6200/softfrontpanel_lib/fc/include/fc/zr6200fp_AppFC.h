#pragma once

#include <array>

#include "app/zr6200fp_app.h"
#include "driver/zr6200fp_genFC.h"
#include "visa.h"

// The main window of a function-card instrument: the frame, connected to
// the card before any instrument page exists. Derived windows find the
// session, the demo flag and the card numbers ready in their constructor.
class zr6200fp_AppFC : public zr6200fp_app
{
    Q_OBJECT
public:
    // multiSelect non-zero lets the user choose several cards; noConnect
    // starts in demo mode without asking. Giving up in the connection flow
    // ends the program with exit code 0.
    zr6200fp_AppFC(zr6200fp_genFC *card, int multiSelect, bool noConnect);
    // Closes the driver session unless in demo mode.
    ~zr6200fp_AppFC() override;

protected:
    // 0 in demo mode.
    ViSession session = 0;
    int demoMode = 0;
    std::array<qint32, zr6200fp_genFC::kMaxCards> fcNumbers{};
    int fcCount = 0;
    // The connected resource reports no VXI slot.
    bool isLxi = false;
    // Borrowed; the entry point owns it.
    zr6200fp_genFC *const card;

private:
    // Runs the connection flow (demo mode with noConnect) and takes its
    // outcome; ends the program with exit code 0 when the user gives up.
    void connectCard(int multiSelect, bool noConnect);
    // Title, header, bus logo and labels: what is connected.
    void showConnection(const QString &model);
    // The About dialog with the software revisions, shown by About.
    void addAbout(const QString &model);
};
