# 64-bit builds of the same programs, for machines that run no 32-bit Wine quickly.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELORIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
