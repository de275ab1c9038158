#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "visa.h"

class zr6200fp_genFC;

// What the search learnt about one VISA resource.
struct resourceEntry
{
    // As the VISA library reported it.
    QString descriptor;
    // Empty: not a carrier of the family (or it did not open); else one text.
    QStringList carrierLabel;
    // One per occupied slot, in slot order: slot text, model text.
    QList<QStringList> fcRows;
    // Parallel to fcRows: the slot number for a card of this instrument's
    // kind, else 0.
    QList<int> fcSlotNumbers;
    // The IP address of a network resource, to drop duplicates; else empty.
    QString identity;
};

// One record per resource; a worker writes only its own record.
struct getResourceInfo_params_t
{
    const zr6200fp_genFC *card = nullptr;
    ViSession rmSession = 0;
    resourceEntry entry;
    // Already queried on the calling thread.
    bool done = false;
};

// Opens the resource, asks the common driver library whether it is a
// carrier of the family and fills params->entry. Runs on pool threads.
void getResourceInfo(getResourceInfo_params_t *params);
