// Window code of the program; main() is in main.cpp.
