# Package lists shared by the set-up scripts.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core)
TEST_PACKAGES=(g++-mingw-w64-x86-64)
# ./bench.sh: whole-process timing, and an X server and Xlib for the
# editor's start-up.
BENCH_PACKAGES=(hyperfine xvfb xauth libx11-dev)
# scripts/preview-screenshots.sh: the editor under Xvfb, driven and
# photographed for the README.
SCREENSHOT_PACKAGES=(xvfb xauth x11-utils xdotool imagemagick)
