/*
 * tavrel: German bank account number verification, as a plain C library.
 *
 * All strings crossing this interface are UTF-8. A string the library returns
 * as char* is newly allocated and owned by the caller, who frees it with
 * tavrel_free(); the const char* strings of tavrel_version(),
 * tavrel_rules_name(), tavrel_result_code() and tavrel_result_field() are
 * static. Strings the caller passes in are only read.
 * A NULL string argument counts as an empty string; no function crashes on
 * NULL.
 *
 * The check result values:
 *    1  valid without check (the bank's method has no check digit to test)
 *    0  valid
 *   -2  the bank's check method is unknown
 *   -3  invalid (wrong check digit, or an account of zeros only)
 *   -5  bank code not eight characters    -6  bank code holds a non-digit
 *   -7  account empty or over ten digits  -8  account holds a non-digit
 *   -9  bank code not in the directory
 *  -99  memory ran out (TAVREL_CHECK_NO_MEMORY)
 */
#ifndef TAVREL_H
#define TAVREL_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TAVREL_API __attribute__((visibility("default")))
#else
#define TAVREL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version, e.g. "1.0.0". Static storage: do not free. */
TAVREL_API const char* tavrel_version(void);

/* Frees a char* string returned by this library (tavrel_message,
 * tavrel_bank_name, tavrel_search, the error of tavrel_open_directory, the *_json
 * functions), once. NULL is ignored. Only the library's own strings go here: not the
 * static strings of tavrel_version() and
 * tavrel_result_code(), not a result value's string (tavrel_value_clear()
 * frees that), not memory from malloc() or another library. */
TAVREL_API void tavrel_free(void* memory);

#define TAVREL_CHECK_NO_MEMORY (-99)

/* Checks an account number against a bank code. Blanks around either are
 * ignored. Returns one of the check result values above. */
TAVREL_API int tavrel_check(const char* bank_code, const char* account);

/* tavrel_check by the check-digit rules `rules` names: "2009" (the rules of
 * September 2009, which tavrel_check follows) or "current" (the Bundesbank's
 * rules as changed since; the bank directory is the 2009 one either way). NULL
 * means "2009". Any other text gives -2 (method unknown) whatever the other
 * arguments. */
TAVREL_API int tavrel_check_rules(const char* bank_code, const char* account, const char* rules);

/* The name of rule generation `index`, oldest first ("2009" is 0), or NULL
 * past the last. Static storage: do not free. */
TAVREL_API const char* tavrel_rules_name(int index);

/* ---- Batch checks -----------------------------------------------------------
 * One call checks `count` accounts: item i is the pair of NUL-terminated UTF-8
 * strings bank_codes[i] and accounts[i], checked exactly as tavrel_check (or
 * tavrel_check_rules) checks them, its result going to results[i]. Blanks
 * around either string are ignored, a NULL string counts as an empty one, and
 * an item for which memory runs out gets TAVREL_CHECK_NO_MEMORY while the
 * others go on. Plain ASCII items are checked in place: nothing is allocated or
 * converted. The functions keep no state between calls, so several threads may
 * run them at once.
 *
 * Both return 0, or -1 (leaving `results` untouched) when count > 0 and an
 * array is NULL. The _rules variant takes the rule generation as
 * tavrel_check_rules does; an unknown name gives -2 in every result. */
TAVREL_API int tavrel_check_many(size_t count, const char* const* bank_codes,
                                 const char* const* accounts, signed char* results);
TAVREL_API int tavrel_check_many_rules(size_t count, const char* const* bank_codes,
                                       const char* const* accounts, signed char* results,
                                       const char* rules);
/* ---- Directories ---------------------------------------------------------
 * tavrel_check and tavrel_check_rules check against the compiled-in directory
 * of 2009. A directory handle checks against another one: the compiled-in
 * current directory (the Bundesbank's file of 2026-03-09) or any Bundesbank
 * bank-code file. A handle is immutable, so many threads may check with it at
 * once. */

typedef struct tavrel_directory tavrel_directory;

/* Opens a directory: "2009" and "current" are the compiled-in ones; any other
 * text is the path of a Bundesbank bank-code file (168 or 174 columns), read
 * whole. Returns the handle, or NULL when the file cannot be read or is
 * malformed, `path_or_name` is NULL or empty, or memory runs out. On failure,
 * when `error` is not NULL, *error is set to a UTF-8 message naming the line
 * and field at fault, which the caller frees with tavrel_free() (NULL when
 * memory runs out); on success *error is set to NULL. A bank whose method code
 * has no method in the directory's rules is kept and checks as -2. Close the
 * handle with tavrel_close_directory(). */
TAVREL_API tavrel_directory* tavrel_open_directory(const char* path_or_name, char** error);

/* tavrel_check against `directory`, by its own rules: the 2009 rules for the
 * 2009 directory, the current ones for the current directory, and for a file
 * those in force on the date in its name ("blz_YYYYMMDD...txt"), else the
 * current ones. A NULL directory gives -9 (bank code not in the directory)
 * whatever the other arguments. */
TAVREL_API int tavrel_check_in(const tavrel_directory* directory, const char* bank_code,
                               const char* account);

/* tavrel_check_many_rules against `directory`: by `rules` when they are named,
 * else (NULL) by the directory's own rules, as tavrel_check_in. Returns -1 also
 * for a NULL directory when count > 0. */
TAVREL_API int tavrel_check_many_in(const tavrel_directory* directory, size_t count,
                                    const char* const* bank_codes, const char* const* accounts,
                                    signed char* results, const char* rules);

/* tavrel_bank_name and tavrel_search over `directory`. The bank code's blanks
 * at either end are ignored here. A NULL directory gives NULL and "". */
TAVREL_API char* tavrel_bank_name_in(const tavrel_directory* directory, const char* bank_code);
TAVREL_API char* tavrel_search_in(const tavrel_directory* directory, const char* text);

/* Closes a handle from tavrel_open_directory(). NULL is ignored. The handle is
 * dead afterwards, as for freed memory. */
TAVREL_API void tavrel_close_directory(tavrel_directory* directory);

/* ---- Explanations, suggestions, generated accounts --------------------------
 * Each returns one UTF-8 JSON object, newly allocated (free it with
 * tavrel_free()); NULL only when memory runs out. `rules` names the rule
 * generation as for tavrel_check_rules(): "2009", "current", NULL for "2009".
 * A name that is none of them, or an argument out of range, gives
 * {"error": CODE, "message": TEXT} instead ("unknown_rules",
 * "invalid_argument"). The fields are those of `tavrel explain`, `tavrel
 * suggest` and `tavrel generate` with --json. */

/* Why the check of `account` at `bank_code` gives its verdict: "tests" (the
 * tests of the input, the failed one last for an input fault), "steps" (each
 * method or variant that ran or was left out, with "reason", its
 * "computations" and the "steps" it ran), "result", "code" and "message". */
TAVREL_API char* tavrel_explain_json(const char* bank_code, const char* account, const char* rules);

/* For an account that fails its check digit test: "accounts" one slip away
 * that pass it (at most `max`; 0 or less means 5, more than 1000 means 1000),
 * ranked transpositions first, then substitutions away from the check digit,
 * then the rest, each with its "slip" and "position"; "bank_codes" one slip
 * away whose method accepts the account; "status" says why there are none
 * ("already_valid", "no_check_digit", "input_fault", ...). */
TAVREL_API char* tavrel_suggest_json(const char* bank_code, const char* account, const char* rules,
                                     int max);

/* `count` (1 to 100000) distinct accounts that the method of `bank_code`, or
 * the method code or variant key `method`, accepts: exactly one of the two is
 * given, the other NULL. The same `seed` gives the same accounts; `length` is
 * the number of digits (1 to 10, 0 for a mix of six to ten); with `invalid`
 * not 0 they fail by their check digit alone. "accounts" lists them with the
 * "variant" that accepts each; "status" is "generated", or says why there are
 * fewer than asked ("too_few", "none", "no_check_digit", "method_not_found",
 * "bank_code_fault") with a "message". */
TAVREL_API char* tavrel_generate_json(const char* bank_code, const char* method, const char* rules,
                                      int count, uint64_t seed, int length, int invalid);

/* The three above against `directory`: by `rules` when they are named, else
 * (NULL) by the directory's own rules. A NULL directory gives the error
 * "invalid_argument". */
TAVREL_API char* tavrel_explain_json_in(const tavrel_directory* directory, const char* bank_code,
                                        const char* account, const char* rules);
TAVREL_API char* tavrel_suggest_json_in(const tavrel_directory* directory, const char* bank_code,
                                        const char* account, const char* rules, int max);
TAVREL_API char* tavrel_generate_json_in(const tavrel_directory* directory, const char* bank_code,
                                         const char* method, const char* rules, int count,
                                         uint64_t seed, int length, int invalid);

/* The stable English code of a result value ("valid", "invalid_check_digit",
 * "bank_code_unknown", ...), or NULL for a value that is no result. Static
 * storage: do not free. */
TAVREL_API const char* tavrel_result_code(int result);

/* The input a result value concerns: "bank_code", "account", "iban", or "" for
 * a result that concerns none (valid ones); NULL for a value that is no result.
 * Static storage: do not free. */
TAVREL_API const char* tavrel_result_field(int result);

/* The German message for a check or IBAN result value; "" for 0, 1 and values
 * without one. NULL only when memory runs out. */
TAVREL_API char* tavrel_message(int result);

/* The short name of the bank with exactly this bank code (no trimming), or NULL
 * when the directory has no such bank code. */
TAVREL_API char* tavrel_bank_name(const char* bank_code);

/* Bank search as the control's bank-code field does it: leading digits (two to
 * seven) list the bank codes beginning with them; a text beginning with any
 * other character searches the short names for one term, or two terms separated
 * by a comma, ignoring the case of A-Z. Returns the hit lines
 * "BANKCODE | short name" in ascending order, each ended by "\n"; "" when
 * nothing is found. NULL only when memory runs out. */
TAVREL_API char* tavrel_search(const char* text);

/* ---- IBANs ------------------------------------------------------------------
 * IBANs of every country of the SWIFT IBAN registry, in electronic form
 * ("DE89370400440532013000") or print form (groups of four); blanks anywhere,
 * any letter case and a leading "IBAN" are allowed. Their result values:
 *  -10  a character or structure the IBAN's country does not allow
 *  -11  country code not in the IBAN registry
 *  -12  not the country's IBAN length
 *  -13  check digits wrong (mod 97)
 * IBANs of German accounts are built by the standard conversion only (bank
 * code + account padded to ten digits): a bank may convert some accounts by an
 * IBAN rule of its own, which this library does not know, so let the bank
 * confirm such an IBAN. The _in variants check the account against
 * `directory` (see tavrel_check_in), the others against the 2009 directory by
 * the 2009 rules. */

/* *account_result of tavrel_iban_check when no account was checked: the IBAN
 * is invalid, or not German. No result value has it. */
#define TAVREL_NO_ACCOUNT_CHECK (-1)

/* Checks an IBAN and returns its result value: 0 valid, or -10 to -13. For a
 * valid German IBAN the account it holds is checked at its bank code as
 * tavrel_check checks it, and *account_result gets that result; a bank's own
 * IBAN rule may have changed the account, so the IBAN stays valid when it
 * fails, but such an IBAN deserves a look. Otherwise *account_result gets
 * TAVREL_NO_ACCOUNT_CHECK. `account_result` may be NULL. TAVREL_CHECK_NO_MEMORY
 * (returned and in *account_result) when memory runs out. A NULL directory
 * gives -9 as the account's result. */
TAVREL_API int tavrel_iban_check(const char* iban, int* account_result);
TAVREL_API int tavrel_iban_check_in(const tavrel_directory* directory, const char* iban,
                                    int* account_result);

/* The German IBAN, in electronic form, of an account that tavrel_check (or
 * tavrel_check_in) finds valid, by the standard conversion; blanks around
 * either input are ignored. NULL when the account is not valid (0 or 1), the
 * directory is NULL, or memory runs out. Free it with tavrel_free(). */
TAVREL_API char* tavrel_iban_from_account(const char* bank_code, const char* account);
TAVREL_API char* tavrel_iban_from_account_in(const tavrel_directory* directory,
                                             const char* bank_code, const char* account);

/* The IBAN text normalised (blanks and a leading "IBAN" dropped, letters upper
 * case), in electronic form, or with `print_form` not 0 in groups of four
 * separated by blanks. Nothing is checked but the characters and the length:
 * NULL when the text holds a character an IBAN cannot, is longer than 34
 * characters, or memory runs out. Free it with tavrel_free(). */
TAVREL_API char* tavrel_iban_format(const char* iban, int print_form);

/* The BIC of a bank code (blanks around it ignored), from the bank's main
 * record; NULL when the directory does not list the bank code or gives it no
 * BIC, the directory is NULL, or memory runs out. Free it with tavrel_free(). */
TAVREL_API char* tavrel_bic(const char* bank_code);
TAVREL_API char* tavrel_bic_in(const tavrel_directory* directory, const char* bank_code);

/* ---- Automation objects ---------------------------------------------------
 * Objects are created by programmatic identifier ("tavrel.QXcompute",
 * "tavrel.QXcompute.1", "TAVREL.tavrelCtrl.1", "TAVREL.tavrelPropPage.1") and
 * called by member name, ignoring case. */

typedef struct tavrel_object tavrel_object;

/* Result codes of tavrel_invoke (automation HRESULTs). */
#define TAVREL_S_OK 0
#define TAVREL_E_POINTER ((int32_t)0x80004003u)
#define TAVREL_E_OUTOFMEMORY ((int32_t)0x8007000Eu)
#define TAVREL_E_INVALIDARG ((int32_t)0x80070057u)
#define TAVREL_DISP_E_UNKNOWNNAME ((int32_t)0x80020006u)
#define TAVREL_DISP_E_MEMBERNOTFOUND ((int32_t)0x80020003u)
#define TAVREL_DISP_E_TYPEMISMATCH ((int32_t)0x80020005u)
#define TAVREL_DISP_E_BADPARAMCOUNT ((int32_t)0x8002000Eu)
#define TAVREL_DISP_E_PARAMNOTOPTIONAL ((int32_t)0x8002000Fu)
#define TAVREL_CTL_E_SETNOTSUPPORTED ((int32_t)0x800A017Fu)
#define TAVREL_REGDB_E_CLASSNOTREG ((int32_t)0x80040154u)

/* Invoke flags; METHOD and GET may be combined. */
#define TAVREL_METHOD 1
#define TAVREL_GET 2
#define TAVREL_PUT 4

enum tavrel_value_type {
  TAVREL_EMPTY = 0,  /* no value; as an argument: a left-out parameter */
  TAVREL_BOOL = 1,   /* number: -1 true, 0 false */
  TAVREL_INT16 = 2,  /* number */
  TAVREL_INT32 = 3,  /* number */
  TAVREL_STRING = 4, /* string, UTF-8; NULL is a null string */
  TAVREL_COLOUR = 5, /* colour: 0x00BBGGRR */
  TAVREL_FONT = 6    /* string: font name; font_size, font_bold, font_italic */
};

/* A tagged value. In arguments the library only reads `string`. In a result,
 * `string` is allocated by the library: release it with tavrel_value_clear(). */
typedef struct tavrel_value {
  int32_t type; /* enum tavrel_value_type */
  int32_t number;
  uint32_t colour;
  char* string;
  double font_size;
  int32_t font_bold;
  int32_t font_italic;
} tavrel_value;

/* Frees a result's string and sets the value to TAVREL_EMPTY. */
TAVREL_API void tavrel_value_clear(tavrel_value* value);

/* Creates an object; returns NULL when the identifier is unknown or memory runs
 * out. The caller releases it with tavrel_release(). */
TAVREL_API tavrel_object* tavrel_create(const char* prog_id);

/* Calls a member: `args` holds `nargs` arguments in parameter order (a property
 * put takes the new value as its one argument); a method's result or a
 * property's value goes to `result`, which may be NULL. Returns TAVREL_S_OK or
 * an error code above; on error `result` is left untouched. */
TAVREL_API int32_t tavrel_invoke(tavrel_object* object, const char* member, int flags,
                                 const tavrel_value* args, int nargs, tavrel_value* result);

/* Releases an object from tavrel_create(). NULL is ignored. The handle is dead
 * afterwards: passing it to tavrel_invoke() or tavrel_release() again is
 * undefined, as for freed memory. */
TAVREL_API void tavrel_release(tavrel_object* object);

/* 1 when no object created through this library or the module is alive. */
TAVREL_API int tavrel_can_unload(void);

#ifdef __cplusplus
}
#endif

#endif /* TAVREL_H */
