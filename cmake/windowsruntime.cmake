# What a program built with Qt for Windows needs at run time besides itself:
#   DRAVIX_MINGW_DLLS   the MinGW-w64 runtime DLLs that Qt's DLLs and the programs import
#   DRAVIX_QT_DLLS      the Qt DLLs of the program (generator expressions)
#   DRAVIX_QT_PLUGINS   platform plugin and style, each as "<folder>/<file>" under Qt's plugins
#   DRAVIX_WINEPATH     the folders of both, for programs run under Wine from the build folder

set(DRAVIX_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    # The compiler echoes a name it does not find.
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    list(APPEND DRAVIX_MINGW_DLLS ${path})
endforeach()

set(DRAVIX_QT_DLLS)
foreach(module Core Gui Widgets SerialPort)
    list(APPEND DRAVIX_QT_DLLS $<TARGET_FILE:Qt6::${module}>)
endforeach()

get_target_property(qtCore Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qtCore)
    get_target_property(qtCore Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qtBin "${qtCore}" DIRECTORY)
get_filename_component(qtPlugins "${qtBin}/../plugins" ABSOLUTE)
set(DRAVIX_QT_PLUGINS
    ${qtPlugins}/platforms/qwindows.dll
    ${qtPlugins}/styles/qwindowsvistastyle.dll)
foreach(plugin ${DRAVIX_QT_PLUGINS})
    if(NOT EXISTS ${plugin})
        message(FATAL_ERROR "Qt for Windows lacks ${plugin}")
    endif()
endforeach()

set(DRAVIX_WINEPATH ${qtBin})
foreach(dll ${DRAVIX_MINGW_DLLS})
    get_filename_component(folder ${dll} DIRECTORY)
    list(APPEND DRAVIX_WINEPATH ${folder})
endforeach()
list(REMOVE_DUPLICATES DRAVIX_WINEPATH)
