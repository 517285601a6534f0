# SPDX-License-Identifier: MIT
# Cross-compiling for another Debian architecture with its crossbuild-essential
# compilers and multiarch libraries, as `dpkg-architecture -a ARCH -s` exports
# them (Debian's FLTK config reads DEB_HOST_MULTIARCH too).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR $ENV{DEB_HOST_GNU_CPU})
set(CMAKE_C_COMPILER $ENV{DEB_HOST_GNU_TYPE}-gcc)
set(CMAKE_CXX_COMPILER $ENV{DEB_HOST_GNU_TYPE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE $ENV{DEB_HOST_MULTIARCH})
