#pragma once
/* Control interface of the simulated bench behind the three stand-in
 * libraries. Tests and tools use it; the panel never does. */

#include <stddef.h>

#include "visa.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Back to the built-in default bench (or the file named by ZR_SIMBENCH_FILE,
 * when set; empty when that file does not load); clears the call log, the
 * forced statuses, all open sessions, every card's configured state and
 * the call time (simbench_callTimeNs), and takes ZR_SIMBENCH_LOG again.
 * Carrier objects stay until released. */
void simbench_reset(void);

/* Replace the bench with one described in JSON (docs/simbench.md), and
 * forget every card's configured state; open sessions keep the resource
 * they opened. 0 on success; -1 leaves the bench as it was and sets
 * simbench_lastError() (valid until the next load or reset). */
int simbench_loadFile(const char *path);
int simbench_loadJson(const char *json);
const char *simbench_lastError(void);

/* Make every later call of the named operation ("viOpen", "getCarrierInfo",
 * "zr7480_configureChannel", ...) return status without doing anything else
 * (output arguments stay untouched). Only calls from outside count: the
 * driver stand-ins' own VISA calls are not affected. */
void simbench_setStatus(const char *operation, ViStatus status);
void simbench_clearStatuses(void);

/* The log of calls that entered the three libraries, oldest first, one line
 * each, e.g. "zr7480_configureChannel(vi=2, channel=1, filter=16, gain=0, output=0) -> 0".
 * Lines are copied into buf (always terminated); returns the full length. */
size_t simbench_logCount(void);
size_t simbench_logLine(size_t index, char *buf, size_t size);
void simbench_clearLog(void);

/* Time spent inside the three libraries' logged calls since the last
 * simbench_clearCallTime() or simbench_reset(), in nanoseconds summed over
 * all threads, leaving out the time viOpen waits for a resource's
 * openDelayMs; and the number of those calls. A call that waits for a
 * processor or for the bench's lock counts that wait: it is the cost a
 * caller sees. simbench_delayTimeNs() is the open delays as slept, summed
 * over all threads: a sleeping thread wakes somewhat after openDelayMs. */
unsigned long long simbench_callTimeNs(void);
unsigned long long simbench_callCount(void);
unsigned long long simbench_delayTimeNs(void);
void simbench_clearCallTime(void);

/* VISA sessions open right now: resource managers, find lists, resources
 * (a driver session counts two: its resource manager and its resource). */
int simbench_openSessions(void);

/* What the instrument driver has configured on the card in slot fcNumber of
 * the resource named by descriptor, as one line of text (docs/simbench.md).
 * Copied like a log line; returns the full length, 0 when the bench has no
 * card there. */
size_t simbench_cardState(const char *descriptor, unsigned fcNumber, char *buf, size_t size);

/* Carrier objects of the common driver library not yet released. */
int simbench_carrierObjects(void);

#ifdef __cplusplus
}
#endif
