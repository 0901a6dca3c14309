#include "app/run/SceneHost.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "gl/Errors.h"

std::string CheckedTuningFile(const std::string& Named, const std::string& Default)
{
    if (Named.empty())
        return Default;
    const std::string Quoted = "The tuning file \"" + Named + "\"";
    std::error_code Ec;
    const auto Status = std::filesystem::status(Named, Ec);
    if (Status.type() == std::filesystem::file_type::not_found)
        throw EGlimmoraError(Quoted + " does not exist");
    if (Ec)
        throw EGlimmoraError(Quoted + " cannot be read: " + Ec.message());
    if (Status.type() == std::filesystem::file_type::directory)
        throw EGlimmoraError(Quoted + " is a folder");
    if (Status.type() != std::filesystem::file_type::regular)
        throw EGlimmoraError(Quoted + " is not a regular file (a FIFO, a device or a socket)");
    std::FILE* F = std::fopen(Named.c_str(), "rb");
    if (F == nullptr)
        throw EGlimmoraError(Quoted + " cannot be read: " + std::strerror(errno));
    std::fclose(F);
    return Named;
}

TSceneHost::TSceneHost(const TSceneHostParts& Parts)
    : Log(Parts.LogFile),
      Scene(TSceneServices{Parts.Clock, Parts.GL, Parts.GLLibraries, Parts.Process, Parts.Sound, Log,
                           EmbeddedAssets(Parts.Resources), Parts.Report, Parts.SetCaption}),
      FReport(Parts.Report)
{
    Log.SetFallback(Parts.UserLogFolder, Parts.Report);
}

void TSceneHost::Start(const TSceneOptions& Options, const std::string& TuningFile, std::optional<uint32_t> Seed)
{
    TUnderwaterScene::CheckColorDepth(32, true);
    Scene.Start(Options, TuningFile, Seed);
    if (FReport)
        for (const std::string& Notice : Scene.TuningNotices())
            FReport(Notice);
}
