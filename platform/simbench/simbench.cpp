#include "simbench.h"

extern "C" {
void simbench_reset(void) {}
int simbench_loadFile(const char *) { return -1; }
int simbench_loadJson(const char *) { return -1; }
const char *simbench_lastError(void) { return "not implemented"; }
void simbench_setStatus(const char *, ViStatus) {}
void simbench_clearStatuses(void) {}
size_t simbench_logCount(void) { return 0; }
size_t simbench_logLine(size_t, char *buf, size_t size) { if (buf && size) buf[0] = 0; return 0; }
void simbench_clearLog(void) {}
int simbench_openSessions(void) { return 0; }
}
