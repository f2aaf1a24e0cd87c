/* A program of a library user's, built against the installed header and stripewright.pc: encodes
 * the worked examples of every bar code type, and a bad item of each, through the library, first
 * on one thread and then on many at once, and compares every answer with the expected one.
 *
 *     encode_examples VERSION
 *
 * The examples come from worked_examples.h, written by resolve_examples.py. */
#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <stripewright.h>

struct example {
    const char *type;
    int checksum;
    const char *data;
    stripewright_status status;
    const char *expected;
};

static const struct example examples[] = {
#include "worked_examples.h"
};
#define EXAMPLE_COUNT (sizeof examples / sizeof examples[0])
#define THREADS 8
#define ROUNDS 200

/* Encodes every example both ways; returns the number of wrong answers, printed when `say`. */
static int check_all(int say) {
    int wrong = 0;
    size_t i;
    for (i = 0; i < EXAMPLE_COUNT; ++i) {
        const struct example *e = &examples[i];
        char out[512];
        char *result = NULL;
        size_t length = 0;
        stripewright_status s =
            stripewright_encode(e->type, e->data, e->checksum, out, sizeof out, &length);
        stripewright_status a = stripewright_encode_alloc(e->type, e->data, e->checksum, &result);
        if (s != e->status || strcmp(out, e->expected) != 0 || length != strlen(e->expected) ||
            a != e->status || result == NULL || strcmp(result, e->expected) != 0) {
            ++wrong;
            if (say)
                printf("FAIL: %s \"%s\": status %d \"%s\", expected %d \"%s\"\n", e->type, e->data,
                       (int)s, out, (int)e->status, e->expected);
        }
        stripewright_free(result);
    }
    return wrong;
}

static void *check_rounds(void *wrong) {
    int round;
    for (round = 0; round < ROUNDS; ++round) *(int *)wrong += check_all(0);
    return NULL;
}

int main(int argc, char **argv) {
    pthread_t threads[THREADS];
    int wrong[THREADS] = {0};
    int failures, t;
    if (argc != 2) {
        fprintf(stderr, "usage: encode_examples VERSION\n");
        return 2;
    }
    failures = check_all(1);
    if (strcmp(stripewright_version(), argv[1]) != 0) {
        printf("FAIL: the library says it is %s, the package %s\n", stripewright_version(),
               argv[1]);
        ++failures;
    }
    for (t = 0; t < THREADS; ++t) pthread_create(&threads[t], NULL, check_rounds, &wrong[t]);
    for (t = 0; t < THREADS; ++t) {
        pthread_join(threads[t], NULL);
        if (wrong[t] != 0) {
            printf("FAIL: %d wrong answers on thread %d\n", wrong[t], t);
            ++failures;
        }
    }
    if (failures != 0)
        return 1;
    printf("%d examples, on one thread and on %d at once, as expected.\n", (int)EXAMPLE_COUNT,
           THREADS);
    return 0;
}
