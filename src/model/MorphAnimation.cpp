#include "model/MorphAnimation.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <vector>

#include "gl/Errors.h"
#include "gl/GLClasses.h"
#include "gl/GLTexture.h"
#include "gl/GLUtils.h"
#include "model/Convert3DM.h"

// ------------------------------------------------------------ animation

void TGLVertexAnimation::Interpolate(const TAnimationKey& K1, const TAnimationKey& K2, long double Fraction)
{
    if (!Primitive)
        return;
    const auto* A = dynamic_cast<const TGLVertexKey*>(&K1);
    const auto* B = dynamic_cast<const TGLVertexKey*>(&K2);
    if (!A || !B)
        throw EGlimmoraError("TGLVertexAnimation error: Invalid class typecast (the key is not a TGLVertexKey)");
    if (A == B)
        A->Vertices.CopyTo(&Primitive->Vertices);
    else
        Primitive->Morph(A->Vertices, B->Vertices, static_cast<float>(Fraction));
}

TGLVectorDArray& TGLVertexAnimation::AddVertexKey(long double Time)
{
    TAnimationKey* Key = Add(std::make_unique<TGLVertexKey>(), Time);
    return static_cast<TGLVertexKey*>(Key)->Vertices;
}

void AddVertexKey(const TGLPrimitive& Primitive, TGLVertexAnimation& Animation, long double Time)
{
    Primitive.Vertices.CopyTo(&Animation.AddVertexKey(Time));
}

// ----------------------------------------------------------- frame list

TFirstWord SplitFirstWord(std::string_view Line)
{
    // Blanks and control characters (codes 0..32) go at both ends.
    const auto IsSpace = [](char C) { return static_cast<unsigned char>(C) <= ' '; };
    while (!Line.empty() && IsSpace(Line.front()))
        Line.remove_prefix(1);
    while (!Line.empty() && IsSpace(Line.back()))
        Line.remove_suffix(1);
    const std::size_t Blank = Line.find(' ');
    if (Blank == std::string_view::npos)
        return {std::string(), std::string(Line)};
    return {std::string(Line.substr(0, Blank)), std::string(Line.substr(Blank + 1))};
}

namespace {

std::string Where(const std::string& FileName, std::size_t Line)
{
    return " (" + FileName + ", line " + std::to_string(Line) + ")";
}

// from_chars reads no leading '+'; a written "+1" is still a number.
std::string_view WithoutPlus(std::string_view Text)
{
    if (Text.size() > 1 && Text.front() == '+' && Text[1] != '-' && Text[1] != '+')
        Text.remove_prefix(1);
    return Text;
}

int32_t ParseInteger(const std::string& Text, const std::string& FileName, std::size_t Line)
{
    const std::string_view S = WithoutPlus(Text);
    int32_t Value = 0;
    const auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), Value);
    if (Ec != std::errc() || End != S.data() + S.size() || S.empty())
        throw EGlimmoraError("'" + Text + "' is not a valid integer value" + Where(FileName, Line));
    return Value;
}

// Seconds; "inf" and "nan", which from_chars would accept, are no time.
long double ParseTime(const std::string& Text, const std::string& FileName, std::size_t Line)
{
    const std::string_view S = WithoutPlus(Text);
    double Value = 0;
    const auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), Value, std::chars_format::general);
    if (Ec != std::errc() || End != S.data() + S.size() || S.empty() || !std::isfinite(Value))
        throw EGlimmoraError("'" + Text + "' is not a valid floating point value" + Where(FileName, Line));
    return Value;
}

}   // namespace

TAnimatedModel LoadFrameList(const TAssetSource& Assets, const std::string& FileName)
{
    TAnimatedModel Model;
    const std::vector<std::string> Lines = Assets.UseResources ? LoadStringsResource(Assets.Resources, FileName)
                                                               : SplitLines(ReadFileBytes(Assets.ModelDir + FileName));
    if (Lines.size() < 2)
        return Model;

    const bool Loop = ParseInteger(SplitFirstWord(Lines[0]).Word, FileName, 1) > 0;

    const TFirstWord First = SplitFirstWord(Lines[1]);
    const long double T0 = ParseTime(First.Word, FileName, 2);
    TModelLists FirstFrame = Load3DM(Assets, First.Rest);
    Model.Textures = std::move(FirstFrame.Textures);
    Model.Materials = std::move(FirstFrame.Materials);
    Model.Primitives = std::move(FirstFrame.Primitives);

    // The animations are also reachable through the list, which owns them.
    std::vector<TGLVertexAnimation*> Created;
    for (int32_t I = 0; I < Model.Primitives.Count(); ++I) {
        auto Animation = std::make_unique<TGLVertexAnimation>();
        Animation->Primitive = Model.Primitives.Ref(I);
        Animation->Loop = Loop;
        AddVertexKey(*Animation->Primitive, *Animation, T0);
        Created.push_back(Animation.get());
        Model.Animations.Add(std::move(Animation));
    }

    long double Previous = T0;
    for (std::size_t L = 2; L < Lines.size(); ++L) {
        const TFirstWord Line = SplitFirstWord(Lines[L]);
        // Blank lines (also ones of blanks only) separate nothing.
        if (Line.Word.empty() && Line.Rest.empty())
            continue;
        const long double T = ParseTime(Line.Word, FileName, L + 1);
        // A key before the earlier ones would land out of time order.
        if (T < Previous)
            throw EGlimmoraError("LoadFrameList error: the frame times must not decrease" + Where(FileName, L + 1));
        const TGLPrimitiveList Frame = Load3DMPrimitiveList(Assets, Line.Rest);
        if (Frame.Count() > static_cast<int32_t>(Created.size()))
            throw EGlimmoraError("LoadFrameList error: \"" + Line.Rest + "\" has " + std::to_string(Frame.Count()) +
                                 " primitives, the first frame " + std::to_string(Created.size()) +
                                 Where(FileName, L + 1));
        for (int32_t I = 0; I < Frame.Count(); ++I)
            AddVertexKey(*Frame.Items(I), *Created[static_cast<std::size_t>(I)], T);
        Previous = T;
    }
    return Model;
}

TAnimatedModel LoadAnimatedModel(const TAssetSource& Assets, const std::string& FileName)
{
    // The first frame's textures and materials are not kept: the scene
    // draws the bill with its own.
    TAnimatedModel Model = LoadFrameList(Assets, FileName);
    Model.Textures.Clear();
    Model.Materials.Clear();
    return Model;
}
