#pragma once
// Whether this build runs under AddressSanitizer: its shadow memory makes
// measures of a process's memory meaningless, and it keeps terabytes of
// address space for itself, so no process can run under an address-space
// limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif
