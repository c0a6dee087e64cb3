# Writes the delay-import .def of HSDK.dll from the .def the linker wrote: functions only, since
# delay-loading cannot bind data (a caller that used any would then fail to link, not to load).
# Usage: cmake -DIN=<linker .def> -DOUT=<.def> -P DelayImport.cmake
file(STRINGS ${IN} lines)
set(def "LIBRARY HSDK.dll\nEXPORTS\n")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "[ \t]DATA" AND line MATCHES "^[ \t]+([^ \t]+)")
        string(APPEND def "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
file(WRITE ${OUT} "${def}")
