/* libstripewright: the Stripewright encoder as a C library.
 *
 * Turns a piece of data into the font string that a Stripewright bar code font draws as a
 * scannable bar code, for every bar code type that stripewright-encode knows, with the same
 * results and the same error messages as the window and stripewright-encode.
 *
 * Text goes in and comes out as UTF-8, NUL-terminated. No structures are exposed and the library
 * keeps no state: every function may be called from any number of threads at once. The strings
 * the catalogue functions return are static and must not be freed.
 *
 * Build with: cc prog.c $(pkg-config --cflags --libs stripewright)
 *
 *     char out[256];
 *     size_t length;
 *     stripewright_status s =
 *         stripewright_encode("39", "CODE 39", 1, out, sizeof out, &length);
 *     if (s == STRIPEWRIGHT_OK)
 *         printf("%s in %s\n", out, stripewright_face_name("39", "normal"));
 *     else if (s == STRIPEWRIGHT_BAD_DATA)
 *         fprintf(stderr, "%s\n", out);
 */
#ifndef STRIPEWRIGHT_H
#define STRIPEWRIGHT_H

#include <stddef.h>

#if defined(STRIPEWRIGHT_BUILDING) && defined(__GNUC__)
#define STRIPEWRIGHT_API __attribute__((visibility("default")))
#else
#define STRIPEWRIGHT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum stripewright_status {
    STRIPEWRIGHT_OK = 0,
    /* The data cannot be encoded as this type; the message says why. */
    STRIPEWRIGHT_BAD_DATA = 1,
    /* The type name is not one the library knows. */
    STRIPEWRIGHT_UNKNOWN_TYPE = 2,
    /* The caller's buffer is too small; *length tells the size needed. */
    STRIPEWRIGHT_BUFFER_TOO_SMALL = 3,
    /* A null pointer where text was needed, or text that is not UTF-8. */
    STRIPEWRIGHT_INVALID_ARGUMENT = 4,
    /* Memory ran out. */
    STRIPEWRIGHT_NO_MEMORY = 5
} stripewright_status;

/* The library's version, the version of Stripewright it comes with ("8.5"). */
STRIPEWRIGHT_API const char* stripewright_version(void);

/* The number of bar code types. Types are numbered 0 to count - 1 in the catalogue's order, the
 * window's five first (Code 2 of 5, Interleaved 2 of 5, Code 3 of 9, PostNet, UPC-A), then
 * Code 128, GS1-128, EAN-13 and the Intelligent Mail barcode. */
STRIPEWRIGHT_API size_t stripewright_type_count(void);

/* The type's name, as stripewright-encode's --type takes it: "25", "25i", "39", "Post", "UPC",
 * "128", "gs1-128", "ean13", "imb". NULL when index is not below stripewright_type_count(). */
STRIPEWRIGHT_API const char* stripewright_type_name(size_t index);

/* The type's caption, as people know it: "2/5", "3/9", "Code 128", "GS1-128" and so on. NULL when
 * index is not below stripewright_type_count(). */
STRIPEWRIGHT_API const char* stripewright_type_caption(size_t index);

/* 1 when the type takes the optional check character (Interleaved 2 of 5 and Code 3 of 9), 0
 * when it does not (a check digit that a symbology requires is always added), -1 for a type name
 * the library does not know, or NULL. Names are matched without regard to case. */
STRIPEWRIGHT_API int stripewright_type_takes_checksum(const char* type);

/* The name of the font face that draws the type's font strings at a bar height: "short",
 * "normal" or "tall", in any case. Where a type has no face of its own for a height, this is the
 * face it is drawn in instead (PostNet has one face for all three). NULL for an unknown type or
 * height, or NULL arguments. */
STRIPEWRIGHT_API const char* stripewright_face_name(const char* type, const char* height);

/* Encodes one item of data as the font string of a type.
 *
 * type      a type name (see stripewright_type_name), matched without regard to case.
 * data      the data, UTF-8.
 * checksum  nonzero to add the optional check character; it reaches only the types that take
 *           one and is ignored by the others.
 * out       the buffer that receives the result, NUL-terminated UTF-8; may be NULL when
 *           out_size is 0.
 * out_size  the buffer's size in bytes, the NUL included.
 * length    when not NULL, receives the result's length in bytes without the NUL.
 *
 * Returns:
 * STRIPEWRIGHT_OK             out holds the font string.
 * STRIPEWRIGHT_BAD_DATA       out holds the error message, the same text that the window and
 *                             stripewright-encode give for this data (an empty item, for one,
 *                             gives "Error- no data to bar code").
 * STRIPEWRIGHT_BUFFER_TOO_SMALL  the font string or message does not fit: *length tells the
 *                             size it needs (add one for the NUL); out holds an empty string
 *                             when out_size is above 0. Ask again with a bigger buffer.
 * STRIPEWRIGHT_UNKNOWN_TYPE,
 * STRIPEWRIGHT_INVALID_ARGUMENT  out holds a message that says what was wrong when it fits,
 *                             otherwise an empty string; *length is the message's length. These
 *                             statuses are given whatever the buffer's size.
 * STRIPEWRIGHT_NO_MEMORY      out holds an empty string when out_size is above 0.
 *
 * A font string never takes more than 4 * strlen(data) + 16 bytes, the NUL included, so a buffer
 * of that size always holds it (a message may be longer). */
STRIPEWRIGHT_API stripewright_status stripewright_encode(const char* type, const char* data,
                                                         int checksum, char* out, size_t out_size,
                                                         size_t* length);

/* The same, into a buffer the library allocates: *result receives the font string (OK) or the
 * message (BAD_DATA, UNKNOWN_TYPE, INVALID_ARGUMENT), to be released with stripewright_free.
 * *result is NULL on NO_MEMORY, and when result itself is NULL nothing is written
 * (INVALID_ARGUMENT). */
STRIPEWRIGHT_API stripewright_status stripewright_encode_alloc(const char* type, const char* data,
                                                               int checksum, char** result);

/* Releases a buffer from stripewright_encode_alloc; NULL is allowed. */
STRIPEWRIGHT_API void stripewright_free(void* p);

#ifdef __cplusplus
}
#endif

#endif /* STRIPEWRIGHT_H */
