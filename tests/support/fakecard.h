#pragma once

#include <QList>
#include <QStringList>

#include "driver/zr6200fp_genFC.h"

// A card object whose answers a test sets. isModelSupported runs on the
// search's worker threads: it only reads.
class FakeCard final : public zr6200fp_genFC
{
public:
    explicit FakeCard(qint32 model = 0x7480)
        : supported{0x7480}
    {
        modelCode = model;
    }

    bool isModelSupported(quint16 code) const override { return supported.contains(code); }
    QString getDescription() const override { return QStringLiteral("Fake FC"); }
    QString getCopyright() const override { return QStringLiteral("(c) test"); }
    QString getSfpRevision() const override { return QStringLiteral("1.2.3.4"); }
    QString getDriverRevision() const override { return QStringLiteral("5.6.7.8"); }
    QString getErrorMessage(ViStatus) const override { return errorText; }
    ViStatus init(const char *rsrcName, const quint16 *numbers, quint16, quint16, ViSession *vi) override
    {
        inits << QStringLiteral("%1#%2").arg(QLatin1String(rsrcName), QString::number(numbers[0]));
        const ViStatus status = initStatuses.isEmpty() ? 0 : initStatuses.takeFirst();
        *vi = status < 0 ? VI_NULL : initSession;
        return status;
    }
    ViStatus initAndKeep(const char *rsrcName, const quint16 *numbers, qint16, quint16 idQuery, quint16 reset,
                         ViSession *vi) override
    {
        return init(rsrcName, numbers, idQuery, reset, vi);
    }
    ViStatus reinit(ViSession *) override { return 0; }
    ViStatus close(ViSession vi) override
    {
        closed << vi;
        return 0;
    }

    QList<quint16> supported;
    QString errorText;
    QList<ViStatus> initStatuses;
    ViSession initSession = 42;
    QStringList inits;
    QList<ViSession> closed;
};
