# Ring: library. What cmake --install puts under its prefix: the public
# headers, libtapwell, the CMake package (find_package(Tapwell 1.0), target
# Tapwell::tapwell) and tapwell.pc for pkg-config. Nothing else is installed
# unless asked for by its component (tapwell-cli: --component cli).
include(CMakePackageConfigHelpers)

set(tapwell_config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tapwell)
install(TARGETS tapwell EXPORT TapwellTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/tapwell DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.hpp")
install(EXPORT TapwellTargets NAMESPACE Tapwell:: DESTINATION ${tapwell_config_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TapwellConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/TapwellConfig.cmake INSTALL_DESTINATION ${tapwell_config_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TapwellConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TapwellConfig.cmake ${PROJECT_BINARY_DIR}/TapwellConfigVersion.cmake
        DESTINATION ${tapwell_config_dir})

# tapwell.pc finds the prefix from where it lies, so that it holds for any
# --prefix given to cmake --install (and under DESTDIR). A static library
# names what it needs itself; a shared one only for a static link.
file(RELATIVE_PATH tapwell_pc_up /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
string(REGEX REPLACE "/$" "" tapwell_pc_up "${tapwell_pc_up}")
set(tapwell_pc_prefix "\${pcfiledir}/${tapwell_pc_up}")
foreach(dir INCLUDEDIR LIBDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(tapwell_pc_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(tapwell_pc_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
if(tapwell_kind STREQUAL "SHARED_LIBRARY")
  set(tapwell_pc_cflags "")
  set(tapwell_pc_libs "")
  set(tapwell_pc_private "Libs.private: -lpthread")
else()
  set(tapwell_pc_cflags " -DTAPWELL_STATIC_DEFINE")
  set(tapwell_pc_libs " -lpthread")
  set(tapwell_pc_private "")
endif()
# The family report's transforms, when the library was built with them.
if(TAPWELL_HAVE_FFTW)
  if(tapwell_kind STREQUAL "SHARED_LIBRARY")
    set(tapwell_pc_private "${tapwell_pc_private} -lfftw3")
  else()
    set(tapwell_pc_libs " -lfftw3${tapwell_pc_libs}")
  endif()
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/tapwell.pc.in ${PROJECT_BINARY_DIR}/tapwell.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tapwell.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
