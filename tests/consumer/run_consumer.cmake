# Installs the build tree into a fresh prefix and builds and runs the consumer against it,
# once through find_package and once through pkg-config.
#
#   cmake -DBUILD=<build tree> -DSOURCE=<tests/consumer> -DWORK=<folder> -P run_consumer.cmake
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}: ${status}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/cmake -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK}/cmake)
run(${WORK}/cmake/consumer)
message(STATUS "find_package: ${out}")

file(GLOB pc ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "${pc}")
run(pkg-config --cflags --libs korvolotusc)
separate_arguments(flags UNIX_COMMAND "${out}")
string(REGEX MATCH "-L([^ \n]+)" libdir "${out}")
set(ENV{LD_LIBRARY_PATH} "${CMAKE_MATCH_1}")
run(c++ -std=c++17 ${SOURCE}/consumer.cpp ${flags} -o ${WORK}/consumer-pc)
run(${WORK}/consumer-pc)
message(STATUS "pkg-config: ${out}")
