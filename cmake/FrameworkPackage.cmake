# Installs the framework, ArgumentParser, and the platform layer beneath it
# (exported as ArgumentParser::Platform) in the component "framework": the
# headers under include/varn, as the sources include them
# ("ArgumentParser/Declarations.hpp"), the archives, the CMake package and
# the pkg-config file. Both are relocatable: they find the prefix from where
# they lie, so `cmake --install --prefix` may put them anywhere.
include(CMakePackageConfigHelpers)

set(includedir ${CMAKE_INSTALL_INCLUDEDIR}/varn)
set(packagedir ${CMAKE_INSTALL_LIBDIR}/cmake/ArgumentParser)
foreach(target ArgumentParser VarnPlatform)
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${includedir}>)
endforeach()
# The declarations are C++20 (designated initializers, concepts).
target_compile_features(ArgumentParser INTERFACE cxx_std_20)
set_target_properties(VarnPlatform PROPERTIES EXPORT_NAME Platform)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/ArgumentParser ${PROJECT_SOURCE_DIR}/platform
  DESTINATION ${includedir} COMPONENT framework FILES_MATCHING PATTERN "*.hpp")
install(TARGETS ArgumentParser VarnPlatform EXPORT ArgumentParserTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT framework)
install(EXPORT ArgumentParserTargets NAMESPACE ArgumentParser:: DESTINATION ${packagedir} COMPONENT framework)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ArgumentParserConfig.cmake.in
  ${PROJECT_BINARY_DIR}/framework/ArgumentParserConfig.cmake INSTALL_DESTINATION ${packagedir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/framework/ArgumentParserConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/framework/ArgumentParserConfig.cmake
  ${PROJECT_BINARY_DIR}/framework/ArgumentParserConfigVersion.cmake ${PROJECT_SOURCE_DIR}/cmake/Utf8proc.cmake
  DESTINATION ${packagedir} COMPONENT framework)

# pkg-config finds the prefix from the file's own directory.
set(pkgconfigdir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
cmake_path(RELATIVE_PATH CMAKE_INSTALL_PREFIX BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}/${pkgconfigdir}
  OUTPUT_VARIABLE VARN_PREFIX_FROM_PKGCONFIGDIR)
configure_file(${PROJECT_SOURCE_DIR}/cmake/argumentparser.pc.in ${PROJECT_BINARY_DIR}/framework/argumentparser.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/framework/argumentparser.pc DESTINATION ${pkgconfigdir} COMPONENT framework)
