#include <cstdio>
#include <string>

#include "discdb/import_database.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
namespace {

// Below this many rows an import is over before a progress line helps.
constexpr int64_t kProgressRows = 20000;

class ToolImportUi : public ImportUi {
 public:
  void SetStatus(const std::string& text) override { status_ = text; }
  // The tool offers no prompting rule; a question can only mean "keep".
  DuplicateAnswer AskDuplicate(const std::string& /*question*/) override {
    return DuplicateAnswer::kNo;
  }
  void ShowCorrupt(const std::string& text) override { Message(text); }
  void ShowError(const std::string& text) override { Message(text); }
  void Progress(int64_t done, int64_t total) override {
    if (total < kProgressRows)
      return;
    const int64_t percent = done * 100 / total;
    if (percent == shown_percent_)
      return;
    shown_percent_ = percent;
    std::fprintf(stderr, "\rImporting: %3lld%% (%lld of %lld rows)",
                 static_cast<long long>(percent), static_cast<long long>(done),
                 static_cast<long long>(total));
    progress_shown_ = true;
  }

  const std::string& status() const { return status_; }
  void EndProgressLine() {
    if (progress_shown_)
      std::fputc('\n', stderr);
    progress_shown_ = false;
  }

 private:
  void Message(const std::string& text) {
    EndProgressLine();
    std::fprintf(stderr, "zcd-db: %s\n", text.c_str());
  }

  std::string status_ = ImportStatusText(0, 0);
  int64_t shown_percent_ = -1;
  bool progress_shown_ = false;
};

}  // namespace

int RunImport(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db", "--rule"}))
    return Report("import does not take " + *bad, kExitUsage);
  if (args.words.size() != 2)
    return Report("import needs one database file to import", kExitUsage);
  const std::string rule_name = args.Option("--rule").value_or("overwrite");
  DuplicateRule rule = DuplicateRule::kOverwrite;
  if (rule_name == "keep")
    rule = DuplicateRule::kKeep;
  else if (rule_name != "overwrite")
    return Report("--rule is overwrite or keep, not " + rule_name, kExitUsage);
  if (!PrepareToWrite(context))
    return kExitFailed;

  ToolImportUi ui;
  const ImportResult result = ImportDatabase(context.db_path, args.words[1], rule, ui);
  ui.EndProgressLine();
  if (result.outcome == ImportOutcome::kUnreadable)
    return Report("could not open '" + args.words[1] + "' for reading");
  if (result.outcome != ImportOutcome::kLocalRefused)
    std::printf("%s\n", ui.status().c_str());
  return result.outcome == ImportOutcome::kDone ? kExitOk : kExitFailed;
}

}  // namespace zcd::tool
