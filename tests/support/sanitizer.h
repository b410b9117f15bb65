// Whether the test program runs under AddressSanitizer, whose code is several times slower:
// a few tests that repeat the same work over many inputs take a part of them there (the
// ordinary build runs them all). g++ defines __SANITIZE_ADDRESS__; clang answers
// __has_feature.
#pragma once

namespace shogi::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace shogi::test
