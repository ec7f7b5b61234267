/* The settings library's header and exports used from plain C, as a foreign caller would. */
#define _DEFAULT_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "settings/vmk21.h"

static int Expect(const char* what, const char* got, const char* want) {
  if (strcmp(got, want) == 0) return 0;
  fprintf(stderr, "%s: got \"%s\", want \"%s\"\n", what, got, want);
  return 1;
}

int main(void) {
  char root[] = "/tmp/vmk-c-check-XXXXXX";
  if (mkdtemp(root) == NULL) return 2;
  setenv("VELDMARK_ROOT", root, 1);
  int failures = 0;
  failures += Expect("before Startup", ReadPhonetik(), "");
  failures += Startup() != 0;
  failures += Expect("first-run phonetic mode", ReadPhonetik(), "0");
  WritePerson1("Muster GmbH");
  failures += Expect("company", ReadPerson1(), "Muster GmbH");
  failures += ExtMail("smtp.example", "25", "user", "abc") != 1;
  SetProxyInfo("", 1);
  failures += Expect("proxy", GetProxyInfo(), "-1");
  char command[64];
  snprintf(command, sizeof command, "rm -rf %s", root);
  if (system(command) != 0) return 2;
  return failures == 0 ? 0 : 1;
}
