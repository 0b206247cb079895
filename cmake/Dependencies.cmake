# Every library the program uses, gathered in one interface target.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets OpenGL OpenGLWidgets Xml)
find_package(OpenGL REQUIRED)
find_package(OpenAL REQUIRED)
find_package(CURL REQUIRED)
find_package(LibArchive REQUIRED)
find_package(assimp REQUIRED)
find_package(glm REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(ENET REQUIRED IMPORTED_TARGET libenet)

add_library(quellmar_deps INTERFACE)
target_link_libraries(quellmar_deps INTERFACE
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::OpenGL Qt6::OpenGLWidgets Qt6::Xml
  OpenGL::GL OpenAL::OpenAL CURL::libcurl LibArchive::LibArchive assimp::assimp glm::glm ZLIB::ZLIB
  PkgConfig::SNDFILE PkgConfig::ENET Threads::Threads)

if(QUELLMAR_TESTS)
  find_package(GTest REQUIRED)
  pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
endif()
if(QUELLMAR_BENCH AND NOT QUELLMAR_SANITIZE)
  find_package(benchmark REQUIRED)
endif()
