# Installation: `cmake --install` into a prefix, and the Debian package (cmake/package.cmake).
#   <prefix>/lib/corvan/        the programs, the module runtime (RUNPATH $ORIGIN)
#   <prefix>/bin/               links to the programs a user starts
#   <prefix>/share/corvan/root/ the sample device root: iCor.cfg, data, DLL/ with the plug-ins
#   <prefix>/share/applications/, share/icons/: the shell in the desktop's menu
set(CORVAN_PROGRAM_DIR lib/corvan)
set(CORVAN_ROOT_DIR share/corvan/root)
set(CORVAN_DATA_DIR "${CORVAN_ROOT_DIR}/STORAGE CARD/CORVANDATA")

set(programs eCorvanData eCor ecor-run launcher varbox-sim corvan-menutool corvan-trace2scenario)
# The names in <prefix>/bin: a loader called "launcher" would say nothing on a PATH.
set(program_links eCorvanData eCor ecor-run corvan-launcher varbox-sim corvan-menutool corvan-trace2scenario)

# The device tools the shell's utilities menu starts from the device root's EXE folder.
set(device_tools Test_KELM_ZUL devconfig)

set_target_properties(${programs} ${device_tools} corvan_runtime PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${programs} ${device_tools} RUNTIME DESTINATION ${CORVAN_PROGRAM_DIR})
install(TARGETS corvan_runtime LIBRARY DESTINATION ${CORVAN_PROGRAM_DIR})
# The engine's Qt module beside the programs, which open it only for a window or a PDF.
if(TARGET corvan_engine_qt)
  set_target_properties(corvan_engine_qt PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS corvan_engine_qt LIBRARY DESTINATION ${CORVAN_PROGRAM_DIR})
endif()
foreach(program link IN ZIP_LISTS programs program_links)
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${CORVAN_PROGRAM_DIR}/${program}
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${link}\" SYMBOLIC)")
endforeach()

# The plug-ins in the device root's DLL folder. The engine has the runtime loaded before it
# loads them; their RUNPATH still leads to it from the installed device root.
get_property(plugins GLOBAL PROPERTY CORVAN_PLUGINS)
file(RELATIVE_PATH to_programs "/p/${CORVAN_DATA_DIR}/DLL" "/p/${CORVAN_PROGRAM_DIR}")
set_target_properties(${plugins} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_programs}")
install(TARGETS ${plugins} LIBRARY DESTINATION "${CORVAN_DATA_DIR}/DLL")

# The rest of the sample device root as the build assembled it; the copies of programs in
# it become small scripts that start the installed programs.
install(DIRECTORY ${CMAKE_BINARY_DIR}/sample-root/ DESTINATION ${CORVAN_ROOT_DIR}
        PATTERN "DLL" EXCLUDE PATTERN "EXE" EXCLUDE PATTERN "ECORVANDATA.EXE" EXCLUDE)
set(device_programs "EXE/eCor.exe:eCor" "ECORVANDATA.EXE:eCorvanData"
    "EXE/TEST_KELM_ZUL.EXE:Test_KELM_ZUL" "EXE/DEVCONFIG.EXE:devconfig")
foreach(entry IN LISTS device_programs)
  string(REPLACE ":" ";" entry ${entry})
  list(GET entry 0 DEVICE_NAME)
  list(GET entry 1 PROGRAM)
  get_filename_component(device_dir "/p/${CORVAN_DATA_DIR}/${DEVICE_NAME}" DIRECTORY)
  file(RELATIVE_PATH RELATIVE_PROGRAM "${device_dir}" "/p/${CORVAN_PROGRAM_DIR}/${PROGRAM}")
  string(MAKE_C_IDENTIFIER ${DEVICE_NAME} script)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/packaging/device_program.sh.in
                 ${CMAKE_BINARY_DIR}/device-programs/${script} @ONLY)
  get_filename_component(device_subdir "${CORVAN_DATA_DIR}/${DEVICE_NAME}" DIRECTORY)
  get_filename_component(device_file "${DEVICE_NAME}" NAME)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/device-programs/${script}
          DESTINATION "${device_subdir}" RENAME "${device_file}")
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/cmake/packaging/corvan.desktop
        DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/packaging/corvan.png
        DESTINATION share/icons/hicolor/48x48/apps)
install(FILES README.md DESTINATION share/doc/corvan)
install(DIRECTORY docs/ DESTINATION share/doc/corvan/docs)
