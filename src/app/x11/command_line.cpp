#include "app/x11/command_line.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct FreeContext {
  void operator()(GOptionContext* context) const { g_option_context_free(context); }
};
struct FreeError {
  void operator()(GError* error) const { g_error_free(error); }
};
struct FreeText {
  void operator()(gchar* text) const { g_free(text); }
};

int Refuse(const std::string& why) {
  std::fprintf(stderr, "zentara: %s (zentara --help lists the options)\n", why.c_str());
  return 1;
}

}  // namespace

std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& options) {
  if (argc <= 1) return std::nullopt;
  const GOptionEntry entries[] = {
      {"help", 'h', 0, G_OPTION_ARG_NONE, &options.help, "Show the options and exit", nullptr},
      {"version", 0, 0, G_OPTION_ARG_NONE, &options.version, "Show the version and exit", nullptr},
      {"autostart", 0, 0, G_OPTION_ARG_NONE, &options.autostart,
       "Show the panel only on a tablet or convertible (the start at login)", nullptr},
      {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
  };
  const std::unique_ptr<GOptionContext, FreeContext> context(g_option_context_new(nullptr));
  g_option_context_set_summary(
      context.get(),
      "A floating panel at the screen's edge whose buttons turn the screen\n"
      "and switch automatic rotation on and off.");
  // GLib's own --help would end the process from inside the parser.
  g_option_context_set_help_enabled(context.get(), FALSE);
  g_option_context_add_main_entries(context.get(), entries, nullptr);
  GError* failure = nullptr;
  if (!g_option_context_parse(context.get(), &argc, &argv, &failure)) {
    const std::unique_ptr<GError, FreeError> error(failure);
    return Refuse(error->message);
  }
  // What the parser leaves, after the program's name, is no option of its own.
  if (argc > 1) return Refuse(std::string("unexpected argument ") + argv[1]);
  if (options.help) {
    const std::unique_ptr<gchar, FreeText> help(
        g_option_context_get_help(context.get(), TRUE, nullptr));
    std::fputs(help.get(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("zentara " ZENTARA_VERSION);
    return 0;
  }
  return std::nullopt;
}
