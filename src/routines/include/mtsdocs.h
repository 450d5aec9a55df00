/*
 * mtsdocs.h - CPF and CNPJ routines of the shop-floor server, exported with a
 * C interface by the shared library libmtsdocs.so (package mtserver-dev).
 *
 * CPF: individuals, 11 digits (9 digits and 2 check digits), ddd.ddd.ddd-dd.
 * CNPJ: companies, 14 digits (12 digits and 2 check digits), dd.ddd.ddd/dddd-dd.
 *
 * Texts are zero-terminated byte strings in Windows-1252; only the bytes '0'
 * to '9' count as digits and every other byte is ignored. A NULL text is
 * treated as the empty text. The functions keep no state and may be called
 * from several threads at once. They use the platform's C calling convention.
 *
 * Who owns a returned text: always the caller. The library never allocates
 * memory for a caller and never keeps a pointer it was given, so there is
 * nothing to release. The functions with a text result write it into a
 * buffer the caller supplies, in the manner of snprintf:
 *
 *   size_t needed = formataCGCCPF(text, NULL, 0);       measure...
 *   char* buffer = malloc(needed + 1);                   ...allocate...
 *   formataCGCCPF(text, buffer, needed + 1);             ...and fill
 *
 * or, since a formatted CPF or CNPJ is at most 18 bytes, simply pass a buffer
 * of MTSDOCS_FORMATTED_MAX + 1 bytes when the text holds at most 14 digits.
 *
 *   - The result is the length of the whole text result, without its
 *     terminating zero, whatever the buffer's size.
 *   - When out_size is greater than that length, the text and its terminating
 *     zero are written to out.
 *   - Otherwise, if out is not NULL and out_size is not zero, only a
 *     terminating zero is written at out[0] (the empty text, never a cut-off
 *     number that could pass for a whole one); nothing is written past
 *     out_size bytes.
 *   - With out NULL or out_size zero nothing is written.
 *   - out must not overlap text; use des() to strip a text in place.
 *
 * Caller-supplied buffers keep the interface to these four names (no release
 * function is needed) and make it callable as it is from C, Python ctypes
 * (ctypes.create_string_buffer) or Free Pascal (a PAnsiChar to an array of
 * AnsiChar) without leaks.
 */
#ifndef MTSDOCS_H
#define MTSDOCS_H

#include <stddef.h>

#if defined(__GNUC__)
#define MTSDOCS_EXPORT __attribute__((visibility("default")))
#else
#define MTSDOCS_EXPORT
#endif

#ifdef __cplusplus
#define MTSDOCS_NOEXCEPT noexcept
extern "C" {
#else
#define MTSDOCS_NOEXCEPT
#endif

/* Length of the longest result of formataCGCCPF for a CPF or CNPJ. */
#define MTSDOCS_FORMATTED_MAX 18

/*
 * 1 when the digits of text are an 11-digit CPF or a 14-digit CNPJ whose
 * check digits are right, 0 otherwise (any other count of digits, NULL).
 * Numbers of one repeated digit are valid when their check digits work out.
 */
MTSDOCS_EXPORT unsigned char CgcCpfValido(const char* text) MTSDOCS_NOEXCEPT;

/*
 * The digits of text punctuated as a CPF when there are 11, as a CNPJ when
 * there are 14, bare otherwise; check digits are not looked at. Written to
 * out as described above; returns its length.
 */
MTSDOCS_EXPORT size_t formataCGCCPF(const char* text, char* out, size_t out_size) MTSDOCS_NOEXCEPT;

/*
 * The digits of text, in their order. Written to out as described above;
 * returns its length.
 */
MTSDOCS_EXPORT size_t desFormataCGCCPF(const char* text, char* out,
                                       size_t out_size) MTSDOCS_NOEXCEPT;

/*
 * Keeps only the digits of the zero-terminated text in buffer, moved to its
 * start and terminated by a zero byte (never longer than before, so the
 * buffer is always large enough). Returns buffer; NULL gives NULL.
 */
MTSDOCS_EXPORT char* des(char* buffer) MTSDOCS_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* MTSDOCS_H */
