# The panel's version and description, which its version resource carries;
# read by the project here (the package, the version resource and the
# generated zr7480fp_version.h, which the About box and the application
# show) and by scripts/test-windows.sh, which checks the resource in the
# built executable.
set(ZR_VERSION 4.3.1.10252)
set(ZR_DESCRIPTION "Tervix 7480 2-Channel Filter/Sync FC - Soft Front Panel")
