# Each area of src/ is one static library built from every source file in its
# folders, so adding a file needs no edit here.
#   kvr_add_library(name FOLDERS f1 f2 ... LINK dep1 dep2 ...)
function(kvr_add_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINK" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# One test executable per folder of tests/, registered with CTest test by test.
function(kvr_add_test_folder name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} kvr_test_support GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       # One value per property: gtest_discover_tests drops all
                       # but the first item of a list value.
                       PROPERTIES ENVIRONMENT "TZ=Asia/Tokyo"
                                  ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
endfunction()
