#pragma once

#include "driver/zr6200fp_genFC.h"

// The 7480 card object: fixed texts, and the session operations forwarded
// to the card's instrument driver.
class zr7480_fc final : public zr6200fp_genFC
{
public:
    zr7480_fc();

    bool isModelSupported(quint16 code) const override;
    QString getDescription() const override;
    QString getCopyright() const override;
    QString getSfpRevision() const override;
    QString getDriverRevision() const override;
    QString getErrorMessage(ViStatus status) const override;
    ViStatus init(const char *rsrcName, const quint16 *fcNumbers, quint16 idQuery, quint16 reset,
                  ViSession *vi) override;
    ViStatus initAndKeep(const char *rsrcName, const quint16 *fcNumbers, qint16 count, quint16 idQuery, quint16 reset,
                         ViSession *vi) override;
    ViStatus reinit(ViSession *vi) override;
    ViStatus close(ViSession vi) override;

    static constexpr int kRsrcNameSize = 2048;

private:
    char rsrcName[kRsrcNameSize] = {};
    quint16 fcNumbers[kMaxCards] = {};
};
