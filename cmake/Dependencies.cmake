# Every package the libraries and programs build on, found once for the whole tree (and for the
# fuzz build, which includes this too), so that an imported target is seen wherever it is linked.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Svg Network Concurrent Test LinguistTools)
find_package(Qt6 QUIET COMPONENTS GuiPrivate) # Wayland activation, where Qt's headers allow
find_package(ZLIB REQUIRED)
find_package(LibArchive REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

find_package(PkgConfig REQUIRED)
pkg_check_modules(RTMIDI REQUIRED IMPORTED_TARGET rtmidi)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(JACK REQUIRED IMPORTED_TARGET jack)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
# Window-manager requests go to X11 and Wayland directly where their libraries are found.
pkg_check_modules(XCB IMPORTED_TARGET xcb)
pkg_check_modules(WAYLAND IMPORTED_TARGET wayland-client wayland-protocols wayland-scanner)
