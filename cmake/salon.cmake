# Qt Core's targets put the whole Qt include root (.../qt6) on the include path, and through it
# <QtGui/QImage> and <QtWidgets/QWidget> would resolve in code that links Qt Core only. Here that
# root is a folder of the build that holds QtCore alone; Qt6::Gui and Qt6::Widgets bring the full
# root with their own headers.
set(SALON_QT_CORE_ROOT ${PROJECT_BINARY_DIR}/qt_core_headers)
get_target_property(salon_qt_core_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
list(FILTER salon_qt_core_dirs INCLUDE REGEX "/QtCore$")
get_filename_component(salon_qt_root ${salon_qt_core_dirs} DIRECTORY)
file(MAKE_DIRECTORY ${SALON_QT_CORE_ROOT})
file(CREATE_LINK ${salon_qt_root}/QtCore ${SALON_QT_CORE_ROOT}/QtCore SYMBOLIC)
foreach(target Qt6::Core Qt6::Platform)
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  list(REMOVE_ITEM dirs ${salon_qt_root})
  list(APPEND dirs ${SALON_QT_CORE_ROOT})
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${dirs}")
endforeach()

# salon_core_library(name SOURCES...): GUI-free code. It links Qt Core only and sees no header of
# Qt Gui or Qt Widgets (see above), so including one fails to compile; core_library_check.cpp,
# compiled into each, stops the build when one becomes reachable all the same (a core library
# linking Qt Gui, or another package exposing Qt's include root).
function(salon_core_library name)
  add_library(${name} STATIC ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/core_library_check.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core)
endfunction()

# salon_widgets_library(name SOURCES...): windows and painting.
function(salon_widgets_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
endfunction()

# salon_test(name SOURCES... LIBS libs...): one GoogleTest executable.
function(salon_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
