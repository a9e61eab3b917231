#include "app/res/Strings.h"

#include <map>

namespace res {

namespace {
const std::map<unsigned, std::string> &Table() {
  static const std::map<unsigned, std::string> table = {
      {IDS_APP_TITLE, "Quenda"},
      {IDS_ALREADY_EXISTS,
       "already exists,do you want to overwrite it,  click 'Yes' will overwrite it.  "},
      {IDS_CANNOT_LOAD,
       " cann't be load in, the format of this file wasn't supported or the file was crashed."},
  };
  return table;
}
}  // namespace

const std::string &LoadString(unsigned id) {
  static const std::string empty;
  auto it = Table().find(id);
  return it == Table().end() ? empty : it->second;
}

}  // namespace res
