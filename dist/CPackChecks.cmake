# Read by cpack before it makes each package. Without dpkg-shlibdeps CPack only warns and
# makes a .deb with no Depends, which installs anywhere and then cannot start: stop instead.
if(CPACK_GENERATOR STREQUAL "DEB")
    foreach(tool file dpkg-shlibdeps)
        find_program(EMBERWING_${tool} ${tool})
        if(NOT EMBERWING_${tool})
            message(FATAL_ERROR "${tool} is missing, which the .deb needs: run tools/install-deps package")
        endif()
    endforeach()
endif()
