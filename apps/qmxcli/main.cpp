// qmxcli: the scriptable command line of the flow calculator.
// Exit status: 0 success, 1 a raised error or failed calculation, 2 bad arguments, 3 work done
// with some records failed (batch).
#include <exception>
#include <iostream>

#include "command.hpp"
#include "numerics/error.hpp"

int main(int argc, char** argv) {
  CLI::App app{"qmxcli - flow measurement calculator"};
  app.require_subcommand(1);
  qmx::cli::SetupAll(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  } catch (const qmx::cli::UsageError& e) {
    std::cerr << "qmxcli: " << e.what() << '\n';
    return 2;
  } catch (const qmx::cli::PartialFailure&) {
    return 3;
  } catch (const qmx::cli::CommandFailure& e) {
    std::cerr << "qmxcli: " << e.what() << '\n';
    return 1;
  } catch (const qmx::Error& e) {
    std::cerr << "qmxcli: " << e.module() << ": " << e.what() << " (" << e.code() << ")\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "qmxcli: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
