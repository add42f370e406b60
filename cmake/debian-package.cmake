# The Debian package, made from the install rules: `cpack -G DEB` in a build folder (the
# `package` preset builds one as a packager would; tools/package-test.sh installs and tries it).
# It holds salvora, the window SalvoraExpress with its help file, the desktop entry, the icon
# and the AppStream metainfo.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME salvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Salvora Software")
set(CPACK_PACKAGE_CONTACT "Salvora Software <support@salvora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "rescue live and deleted e-mail from Outlook Express folder files")
set(CPACK_PACKAGE_DESCRIPTION
    "Salvora for Outlook Express finds the user's Outlook Express message store (in a Wine\n\
prefix, or any folder of .dbx files), copies the folder files to a private temporary\n\
folder and reads the copies with its own reader. It rebuilds every live message and\n\
every deleted message still chained in the file, and writes the chosen ones as .eml\n\
files. It never writes to the store.\n\
.\n\
The package holds the wizard SalvoraExpress and the command-line program salvora.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.salvora.example")
set(CPACK_STRIP_FILES ON)
# The libraries the programs link come from dpkg-shlibdeps; the rest by name: the table of
# content types read at run time, the desktop's opener for links and folders, a help viewer.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "media-types")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xchm | kchmviewer")
include(CPack)
