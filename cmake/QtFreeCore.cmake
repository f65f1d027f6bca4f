# The core has no Qt: only files under a qt/ folder may include a Qt header. Included from a
# CMakeLists.txt this checks src/ and tests/ at configure time; run as a script
# (cmake -DQUILLET_ROOT=<source folder> -P QtFreeCore.cmake) it makes the same check, so that
# ctest repeats it after files changed. Either way it fails with the names of the files.
function(quillet_check_qt_free_core root)
  # <QWidget>, "QString", <QtCore/QObject>, <QtWidgets>: Qt's headers all start with Q.
  set(qtInclude "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z0-9_]*[/>\"]")
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${root}"
    "${root}/src/*.h" "${root}/src/*.hpp" "${root}/src/*.cpp"
    "${root}/tests/*.h" "${root}/tests/*.hpp" "${root}/tests/*.cpp")
  set(offenders "")
  foreach(file IN LISTS files)
    if(file MATCHES "(^|/)qt/")
      continue()
    endif()
    file(STRINGS "${root}/${file}" includes REGEX "${qtInclude}")
    foreach(line IN LISTS includes)
      string(STRIP "${line}" line)
      string(APPEND offenders "\n  ${file}: ${line}")
    endforeach()
  endforeach()
  if(offenders)
    message(FATAL_ERROR "Qt headers included outside a qt/ folder (the core has no Qt):${offenders}")
  endif()
endfunction()

if(DEFINED QUILLET_ROOT)
  quillet_check_qt_free_core("${QUILLET_ROOT}")
else()
  quillet_check_qt_free_core("${PROJECT_SOURCE_DIR}")
endif()
