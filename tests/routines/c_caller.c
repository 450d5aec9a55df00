/* A plain C program using libmtsdocs.so through its header: the header must
   stay valid C and the library usable without C++. Exits non-zero on a wrong
   answer. */
#include <stdio.h>
#include <string.h>

#include "mtsdocs.h"

static int failures = 0;

static void expect(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "wrong: %s\n", what);
    ++failures;
  }
}

int main(void) {
  char out[MTSDOCS_FORMATTED_MAX + 1];
  char stripped[] = "11.222.333/0001-81";

  expect(CgcCpfValido("123.456.789-09") == 1, "valid CPF");
  expect(CgcCpfValido("11.222.333/0001-82") == 0, "wrong CNPJ check digit");
  expect(CgcCpfValido(NULL) == 0, "NULL text");
  expect(formataCGCCPF("11222333000181", out, sizeof out) == 18 &&
             strcmp(out, "11.222.333/0001-81") == 0,
         "CNPJ mask");
  expect(
      desFormataCGCCPF("123.456.789-09", out, sizeof out) == 11 && strcmp(out, "12345678909") == 0,
      "digits of a CPF");
  expect(formataCGCCPF("12345678909", out, 5) == 14 && out[0] == '\0', "buffer too small");
  expect(des(stripped) == stripped && strcmp(stripped, "11222333000181") == 0, "des");
  return failures == 0 ? 0 : 1;
}
