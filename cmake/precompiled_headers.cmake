# Precompiled headers: Qt's headers (and GoogleTest's in the tests) are parsed once per library,
# and once for all the test programs, rather than once per source file, which was most of the
# build's time. Applied to every target after all are defined, so that a new library or test
# needs nothing of its own. LIVROS_PCH=OFF builds without them (a check that every file includes
# what it uses).
option(LIVROS_PCH "Precompiled headers for the Qt, standard and GoogleTest headers" ON)

set(LIVROS_PCH_CORE <algorithm> <functional> <memory> <optional> <vector> <QByteArray> <QDate> <QDateTime>
    <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale> <QString> <QStringList> <QVariant>)
set(LIVROS_PCH_WIDGETS <QApplication> <QComboBox> <QFrame> <QLabel> <QPushButton> <QWidget>)
set(LIVROS_PCH_TESTS <QProcess> <QTemporaryDir> <gtest/gtest.h>)

# Every target defined under `dir`, its subfolders included.
function(livros_targets_under dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    livros_targets_under("${sub}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(livros_use_precompiled_headers)
  if(NOT LIVROS_PCH)
    return()
  endif()
  livros_targets_under("${PROJECT_SOURCE_DIR}" targets)
  # The test programs share the header of livros_test_pch (tests/support): most of them are a
  # single source file, where a header of their own would cost as much as it saves. The compile
  # definitions they add (LIVROS_CLI...) appear in no precompiled header, so GCC takes it for all.
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$" OR target STREQUAL livros_test_pch)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    get_target_property(links ${target} LINK_LIBRARIES)
    if(links MATCHES "GTest::gtest" AND TARGET livros_test_pch)
      target_precompile_headers(${target} REUSE_FROM livros_test_pch)
    elseif(count GREATER 1)
      if(links MATCHES "Qt6::Widgets")
        target_precompile_headers(${target} PRIVATE ${LIVROS_PCH_CORE} ${LIVROS_PCH_WIDGETS})
      else()
        target_precompile_headers(${target} PRIVATE ${LIVROS_PCH_CORE})
      endif()
    endif()
  endforeach()
endfunction()
