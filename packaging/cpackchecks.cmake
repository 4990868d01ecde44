# Read by cpack before it makes the package. Without dpkg-shlibdeps CPack
# would quietly leave the package without its library dependencies.
find_program(LUMA_SHLIBDEPS dpkg-shlibdeps)
find_program(LUMA_FILE file)
if(NOT LUMA_SHLIBDEPS OR NOT LUMA_FILE)
    message(FATAL_ERROR "Making the package needs dpkg-shlibdeps and file (Debian packages dpkg-dev and file); "
                        "scripts/setup installs them.")
endif()
