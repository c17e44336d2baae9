// Settings and the INI file: being written.
