#pragma once
// Runs the openssl command line tool on bytes, for tests that compare our cipher with an
// independent implementation. DES lives in the "legacy" provider of OpenSSL 3, so the first
// use finds out which options make `openssl enc -des-ecb` work; when none does, tests skip
// with the reason that Unavailable() gives.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/cipher/ScratchFiles.h"

extern char** environ;

namespace lanterna::test {

class OpensslTool {
  public:
    // The one instance, probed on first use.
    static const OpensslTool& Get() {
        static const OpensslTool tool;
        return tool;
    }

    // Empty when usable, else why not.
    const std::string& Unavailable() const { return unavailable_; }

    // `openssl enc -<cipher> -nopad -K <key>` (with -d when deciphering) over `input`.
    std::optional<Bytes> Enc(const std::string& cipher, const std::string& hexKey,
                             const Bytes& input, bool decipher = false) const {
        return RunEnc(cipher, hexKey, input, decipher, providerOptions_);
    }

  private:
    OpensslTool() {
        const Bytes plain = FromHex("0123456789ABCDEF");
        const Bytes expected = FromHex("85E813540F0AB405");
        for (const auto& options :
             {std::vector<std::string>{},
              std::vector<std::string>{"-provider", "legacy", "-provider", "default"}}) {
            if (RunEnc("des-ecb", "133457799BBCDFF1", plain, false, options) == expected) {
                providerOptions_ = options;
                return;
            }
        }
        unavailable_ =
            "the openssl command is missing or cannot run single DES (not even with "
            "-provider legacy); the comparison with an independent implementation is skipped";
    }

    static std::optional<Bytes> RunEnc(const std::string& cipher, const std::string& hexKey,
                                       const Bytes& input, bool decipher,
                                       const std::vector<std::string>& providerOptions) {
        ScratchFolder folder;
        if (folder.path().empty()) {
            return std::nullopt;
        }
        const auto in = folder.path() / "in";
        const auto out = folder.path() / "out";
        if (!WriteBytes(in, input)) {
            return std::nullopt;
        }
        std::vector<std::string> args = {"openssl", "enc", "-" + cipher, "-nopad", "-K",
                                         hexKey,    "-in", in.string(),  "-out",   out.string()};
        if (decipher) {
            args.push_back("-d");
        }
        args.insert(args.end(), providerOptions.begin(), providerOptions.end());
        if (!Run(args)) {
            return std::nullopt;
        }
        return ReadBytes(out);
    }

    // Runs the program with standard output and error closed; true when it exits with 0.
    static bool Run(std::vector<std::string>& args) {
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            return false;
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return false;
            }
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::vector<std::string> providerOptions_;
    std::string unavailable_;
};

}  // namespace lanterna::test
