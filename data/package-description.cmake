# The package's long description, read by cpack (CPACK_PROJECT_CONFIG_FILE) once the build has filled
# in the products; lines under 80 characters, as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "The service technician's tool for the ZAL family of radio alarm devices:"
       "@PRODUCTS_AND@."
       "It reads a device's configuration through the KBX programming unit, shows it"
       "as named parameters in one editor, saves and opens configuration files, and"
       "writes the configuration back, verifying every write by reading it back. It"
       "also learns transmitter codes and changes a device's fixed radio IDs."
       "."
       "zalctl does the same on the command line, for batch and production-line work;"
       "kbx-sim simulates a KBX with a device for trying it without hardware.")
