# The panel's version and description, which its version resource carries;
# read by the project here and by the cross check in tools/windows-check.
set(ZR_VERSION 4.3.1.10252)
set(ZR_DESCRIPTION "Tervix 7480 2-Channel Filter/Sync FC - Soft Front Panel")
