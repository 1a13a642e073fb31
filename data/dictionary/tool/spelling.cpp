#include "spelling.h"

#include <hunspell.h>

#include <fstream>
#include <stdexcept>

namespace dictionary {

struct Speller::Handle {
  Hunhandle* h = nullptr;
  ~Handle() {
    if (h) Hunspell_destroy(h);
  }
};

Speller::Speller(const std::filesystem::path& aff, const std::filesystem::path& dic)
    : handle_(std::make_unique<Handle>()) {
  for (const auto& f : {aff, dic})
    if (!std::ifstream(f))
      throw std::runtime_error(f.string() +
                               ": cannot read the spelling dictionary (install hunspell-it)");
  handle_->h = Hunspell_create(aff.c_str(), dic.c_str());
  if (!handle_->h) throw std::runtime_error(dic.string() + ": hunspell cannot load it");
}

Speller::~Speller() = default;

bool Speller::Accepts(std::string_view word) const {
  const std::string w(word);
  if (Hunspell_spell(handle_->h, w.c_str())) return true;
  if (!w.empty() && w.back() == '\'') {
    const std::string bare = w.substr(0, w.size() - 1);
    return Hunspell_spell(handle_->h, bare.c_str()) != 0;
  }
  return false;
}

std::vector<std::string> CheckSpelling(const std::vector<Row>& rows, const Speller& speller,
                                       const std::set<std::string, std::less<>>& exceptions) {
  std::set<std::string> refused;
  for (const Row& r : rows)
    for (const std::string& w : Words(r.italian))
      if (!exceptions.contains(w) && !refused.contains(w) && !speller.Accepts(w)) refused.insert(w);
  std::vector<std::string> problems;
  for (const auto& w : refused) problems.push_back("Italian word not accepted: " + w);
  return problems;
}

}  // namespace dictionary
