# The Debian package: `cpack -G DEB` in the build folder, or scripts/package.sh.
set(CPACK_PACKAGE_NAME paysum)
set(CPACK_PACKAGE_VENDOR PAYSUM)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "salary credit transfers for the bank (Traditional Chinese)")
set(CPACK_PACKAGE_DESCRIPTION
    "PAYSUM helps a payroll clerk pay salaries by bank transfer. It keeps the
company record, the employee master and the bank branch code table, takes one
transfer per payee for each pay run, prints the transfer detail list and
writes the fixed-width batch transfer file that the bank loads.
Every screen is in Traditional Chinese. The data stays in the user's own data
folder, ~/.local/share/PAYSUM, which removing the package leaves alone.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "PAYSUM maintainers <maintainers@paysum.example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; what it loads at run time does not
# show there: the SQLite driver, the platform plugins, Qt's Chinese catalogue and the CJK fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk")

include(CPack)
