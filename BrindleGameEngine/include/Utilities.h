#pragma once
#include <string>
#include <vector>

// Random numbers from the runtime's rand (the game seeds it once with srand).
// randomInt gives [0, n); randomRange gives [low, high). A range that holds no
// integer (n <= 0, high <= low) gives 0 and low instead of dividing by zero.
int randomInt(int n);
int randomRange(int low, int high);

std::string toUpperCase(std::string text);
void splitString(std::string text, char delimiter, std::vector<std::string>& out);
void findAllOf(std::string text, std::vector<size_t>& out, char c);
int countWords(std::string text);
std::string stripTrailingSlash(std::string path);
std::string getFileExtension(std::string path);
std::string removeFileExtension(std::string path);
// Creates every directory along the path; existing ones are fine.
void makeDirectories(std::string path);
// $XDG_DATA_HOME, else $HOME/.local/share; empty only when neither is usable.
std::string getUserDataFolder();
std::string copyString(std::string text);
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatThousands(int n);
