// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/* The comparison for saldrix_bench roundtrip: Debian's libinih loads IN into plain string
 * vectors and the texts are written back to OUT with fputs. Built by bench/inih/compare only,
 * never by the project's build. */
#include <ini.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Entry {
    char *section;
    char *name;
    char *value;
};

static struct Entry *entries;
static size_t count;
static size_t capacity;

static int keep(void *user, const char *section, const char *name, const char *value)
{
    (void)user;
    if (count == capacity) {
        capacity = capacity ? capacity * 2 : 1024;
        entries = realloc(entries, capacity * sizeof *entries);
        if (!entries)
            return 0;
    }
    /* A section's name is stored once, when it changes. */
    char *last = count ? entries[count - 1].section : NULL;
    entries[count].section = last && strcmp(last, section) == 0 ? last : strdup(section);
    entries[count].name = strdup(name);
    entries[count].value = strdup(value);
    ++count;
    return 1;
}

/* A figure of /proc/self/status, in MiB: VmRSS (held now) or VmHWM (the most held since exec). */
static double status_mb(const char *key)
{
    char line[256];
    double kb = 0;
    FILE *status = fopen("/proc/self/status", "r");
    while (status && fgets(line, sizeof line, status)) {
        if (strncmp(line, key, strlen(key)) == 0)
            kb = atof(line + strlen(key));
    }
    if (status)
        fclose(status);
    return kb / 1024;
}

int main(int argc, char **argv)
{
    const double start = status_mb("VmRSS:");
    if (argc != 3) {
        fputs("usage: inih_roundtrip IN OUT\n", stderr);
        return 2;
    }
    if (ini_parse(argv[1], keep, NULL) < 0)
        return 1;
    FILE *out = fopen(argv[2], "w");
    if (!out)
        return 1;
    const char *section = NULL;
    for (size_t i = 0; i < count; ++i) {
        if (entries[i].section != section) {
            if (section)
                fputs("\n", out);
            section = entries[i].section;
            fputs("[", out);
            fputs(section, out);
            fputs("]\n", out);
        }
        fputs(entries[i].name, out);
        fputs("=", out);
        fputs(entries[i].value, out);
        fputs("\n", out);
    }
    if (fclose(out) != 0)
        return 1;
    const double peak = status_mb("VmHWM:");
    printf("start_rss_mb=%.1f peak_rss_mb=%.1f growth_mb=%.1f\n", start, peak, peak - start);
    return 0;
}
