// trust_ca add|remove <certificate.pem>: the test servers' authority in the Wine prefix.
#include <string>

#include "fakes/win32/trusted_ca.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  return melodane::testing::TrustTestAuthority(argv[2], std::string(argv[1]) == "add") ? 0 : 1;
}
