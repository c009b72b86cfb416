# Package lists shared by the set-up scripts.
# The windows are laid out for Times New Roman and MS Sans Serif; Liberation
# Serif and Sans have the metrics of Times New Roman and Arial, so the texts
# fit where a new machine would otherwise fall back to the wider DejaVu.
RUN_PACKAGES=(fonts-liberation2 fonts-dejavu-core)
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libstb-dev "${RUN_PACKAGES[@]}")
# Real X11 key events for the editor: Xvfb and xdotool.
# The installed files' checks: desktop-file-validate, appstreamcli, groff and
# man, bash-completion to load the completion as a shell would, file for
# the icons' sizes.
# Wine runs the Windows programs' tests (label wine); its fonts are only
# recommended, and windows under Wine need them.
# The installer's test builds it with nsis and lists the zip with unzip.
TEST_PACKAGES=(g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth xdotool desktop-file-utils appstream groff-base man-db bash-completion file nsis unzip)
# ./package.sh: CPack's DEB generator (dpkg-shlibdeps, and file to find the
# binaries) and lintian.
PACKAGE_PACKAGES=(dpkg-dev file lintian)
# ./package-windows.sh: the cross compiler, the PNG writer's header, and
# NSIS for the installer (CPack packs the zip itself).
WINDOWS_PACKAGE_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 libstb-dev nsis)
# ./bench.sh: ImageMagick's mogrify as a floor of kxc2tool shp, and an X
# server and Xlib for the editor's start-up.
BENCH_PACKAGES=(imagemagick xvfb xauth libx11-dev)
# ./fuzz.sh: clang with the libFuzzer runtime.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# scripts/preview-screenshots.sh: the editor under Xvfb, driven and
# photographed for the README.
SCREENSHOT_PACKAGES=(xvfb xauth x11-utils xdotool imagemagick)
