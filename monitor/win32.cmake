# The status monitor program "LX90VENDRA(ESC P).exe" (win32 build only).
#
# The resources are compiled by windres in a custom command so that the art files, the
# manifest and the port I/O driver image are all listed as dependencies. The driver image is
# resource BIN 164, the image built by the target hwinterface_sys (driver/); a build without
# that target carries an empty placeholder instead. The driver directory is processed after
# this one, so the choice is made by generator expressions, evaluated once every target is known.

set(MONITOR_RES_DIR ${CMAKE_CURRENT_SOURCE_DIR}/res)
set(MONITOR_RES_OBJECT ${CMAKE_CURRENT_BINARY_DIR}/status_monitor_res.o)
set(MONITOR_DRIVER_IMAGE_DIR ${CMAKE_BINARY_DIR}/driver)
set(MONITOR_PLACEHOLDER_DIR ${CMAKE_BINARY_DIR}/monitor/placeholder)
set(_monitor_has_driver "$<TARGET_EXISTS:hwinterface_sys>")
set(_monitor_driver_dir
    "$<IF:${_monitor_has_driver},${MONITOR_DRIVER_IMAGE_DIR},${MONITOR_PLACEHOLDER_DIR}>")

add_custom_command(
  OUTPUT ${MONITOR_RES_OBJECT}
  COMMAND ${CMAKE_RC_COMPILER} --input-format=rc --output-format=coff
          -I ${MONITOR_RES_DIR} -I ${_monitor_driver_dir}
          -i ${MONITOR_RES_DIR}/status_monitor.rc -o ${MONITOR_RES_OBJECT}
  DEPENDS
    ${MONITOR_RES_DIR}/status_monitor.rc
    ${MONITOR_RES_DIR}/resource.h
    ${MONITOR_RES_DIR}/status_monitor.manifest
    ${MONITOR_RES_DIR}/status_monitor.ico
    ${MONITOR_RES_DIR}/tray.ico
    ${MONITOR_RES_DIR}/printer.bmp
    ${MONITOR_RES_DIR}/error.ani
    ${MONITOR_RES_DIR}/info.ani
    ${_monitor_driver_dir}/hwinterface.sys
  COMMENT "Compiling the status monitor's resources"
  VERBATIM
)

add_executable(status_monitor WIN32
  poller_win.cpp
  status_monitor_app.cpp
  status_monitor_dlg.cpp
  sys_tray.cpp
  ${MONITOR_RES_OBJECT}
)
set_target_properties(status_monitor PROPERTIES OUTPUT_NAME "LX90VENDRA(ESC P)")
target_link_options(status_monitor PRIVATE -static -mwindows)
target_link_libraries(status_monitor PRIVATE
  monitor_core framework platform_win
  winspool setupapi ole32 oleaut32 wbemuuid shell32 comctl32 uuid advapi32 user32 gdi32)

# The target-level dependency on the driver image, once the driver directory has been read.
# (Runs in the top directory's scope: only global variables are seen here.)
function(_monitor_depend_on_driver)
  if(TARGET hwinterface_sys)
    add_dependencies(status_monitor hwinterface_sys)
  else()
    message(STATUS "hwinterface_sys not built here: the monitor carries an empty driver image")
    set(placeholder ${CMAKE_BINARY_DIR}/monitor/placeholder/hwinterface.sys)
    if(NOT EXISTS ${placeholder})
      file(WRITE ${placeholder} "")
    endif()
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _monitor_depend_on_driver)
