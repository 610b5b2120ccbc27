# Precompiled headers: Qt's headers (and GoogleTest's in the tests) are parsed once for the whole
# build rather than once per source file, which was most of the build's time. Three headers are
# shared: one of Qt Core for the libraries without widgets (data/ and book/ must not see widget
# headers), one with Qt Widgets for the window and the dialogs, and the test programs' one
# (tests/support). Applied to every target after all are defined, so that a new library or test
# needs nothing of its own. LIVROS_PCH=OFF builds without them (a check that every file includes
# what it uses).
option(LIVROS_PCH "Precompiled headers for the Qt, standard and GoogleTest headers" ON)

set(LIVROS_PCH_CORE <algorithm> <functional> <memory> <optional> <vector> <QByteArray> <QDate> <QDateTime>
    <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale> <QString> <QStringList> <QVariant>)
set(LIVROS_PCH_WIDGETS <QApplication> <QComboBox> <QFrame> <QLabel> <QPushButton> <QWidget>)
set(LIVROS_PCH_TESTS <QProcess> <QTemporaryDir> <gtest/gtest.h>)

# The shared headers' own targets: an empty source each, compiled with the flags of their users.
function(livros_define_shared_pch)
  if(NOT LIVROS_PCH)
    return()
  endif()
  set(empty "${PROJECT_BINARY_DIR}/livros_pch_empty.cpp")
  file(CONFIGURE OUTPUT "${empty}" CONTENT "// The precompiled header's own translation unit.\n")
  add_library(livros_pch_core OBJECT "${empty}")
  target_link_libraries(livros_pch_core PRIVATE Qt6::Core)
  target_precompile_headers(livros_pch_core PRIVATE ${LIVROS_PCH_CORE})
  add_library(livros_pch_widgets OBJECT "${empty}")
  target_link_libraries(livros_pch_widgets PRIVATE Qt6::Widgets)
  target_precompile_headers(livros_pch_widgets PRIVATE ${LIVROS_PCH_CORE} ${LIVROS_PCH_WIDGETS})
  set_target_properties(livros_pch_core livros_pch_widgets PROPERTIES UNITY_BUILD OFF)
endfunction()

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
  # The compile definitions a target adds of its own (LIVROS_CLI...) appear in no precompiled
  # header, so GCC takes the shared one for all.
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$"
       OR target MATCHES "^livros_(test_pch|pch_core|pch_widgets)$" OR target MATCHES "^fuzz_")
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(links MATCHES "GTest::gtest" AND TARGET livros_test_pch)
      target_precompile_headers(${target} REUSE_FROM livros_test_pch)
      # Qt's headers look at QT_TESTLIB_LIB: the test helpers that do not link Qt Test define it too.
      target_compile_definitions(${target} PRIVATE QT_TESTLIB_LIB)
    elseif(links MATCHES "Qt6::Widgets|livros_app|livros_report_ui")
      target_precompile_headers(${target} REUSE_FROM livros_pch_widgets)
    else()
      target_precompile_headers(${target} REUSE_FROM livros_pch_core)
    endif()
  endforeach()
endfunction()
