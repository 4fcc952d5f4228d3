#pragma once
// One function a command; each returns the process exit code and reports errors
// as one line on standard error.
#include <string>
#include <vector>

namespace lavodc::cli {

int runDump(const std::vector<std::string>& args);
int runBuild(const std::vector<std::string>& args);
int runPdf(const std::vector<std::string>& args);
int runXlsx(const std::vector<std::string>& args);
int runEfile(const std::vector<std::string>& args);
int runNext(const std::vector<std::string>& args);
int runImport(const std::vector<std::string>& args);
int runPrint(const std::vector<std::string>& args);
int runPrinters(const std::vector<std::string>& args);

} // namespace lavodc::cli
