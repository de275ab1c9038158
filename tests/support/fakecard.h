#pragma once

#include <QList>
#include <QString>

#include "driver/zr6200fp_genFC.h"

// A card object that answers as a test sets it and records what the panel
// asked of it. Like a driver, init opens a session unless it fails with an
// error (a warning opens one too), and only the statuses it returned have a
// text; a call the panel never makes ends the test executable.
// isModelSupported runs on the search's worker threads: it only reads.
class FakeCard final : public zr6200fp_genFC
{
public:
    struct Init
    {
        QString rsrcName;
        quint16 fcNumber;
        quint16 idQuery;
        quint16 reset;
    };

    explicit FakeCard(qint32 model = 0x7480) { modelCode = model; }

    bool isModelSupported(quint16 code) const override { return supported.contains(code); }
    QString getDescription() const override { return QStringLiteral("Fake FC"); }
    QString getCopyright() const override { return QStringLiteral("(c) test"); }
    QString getSfpRevision() const override { return QStringLiteral("1.2.3.4"); }
    QString getDriverRevision() const override { return QStringLiteral("5.6.7.8"); }
    QString getErrorMessage(ViStatus status) const override
    {
        return returned.contains(status) ? errorText : QString();
    }
    ViStatus init(const char *rsrcName, const quint16 *numbers, quint16 idQuery, quint16 reset, ViSession *vi) override
    {
        inits.append({QString::fromLatin1(rsrcName), numbers[0], idQuery, reset});
        const ViStatus status = initStatuses.isEmpty() ? 0 : initStatuses.takeFirst();
        returned << status;
        *vi = status < 0 ? VI_NULL : ++lastSession;
        if (status >= 0)
            open << *vi;
        return status;
    }
    ViStatus initAndKeep(const char *, const quint16 *, qint16, quint16, quint16, ViSession *) override
    {
        qFatal("FakeCard: the panel called initAndKeep");
    }
    ViStatus reinit(ViSession *) override { qFatal("FakeCard: the panel called reinit"); }
    ViStatus close(ViSession vi) override { return open.removeOne(vi) ? VI_SUCCESS : VI_ERROR_INV_OBJECT; }

    QList<quint16> supported{0x7480};
    QString errorText;
    QList<ViStatus> initStatuses;
    QList<Init> inits;
    // Sessions init opened that were not closed.
    QList<ViSession> open;

private:
    QList<ViStatus> returned;
    ViSession lastSession = 41;
};
