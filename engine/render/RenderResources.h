// The shapes of the renderer's resource types: meshes, skins, fonts, sprites
// and shader constants. The launcher creates none of them; they type the
// render object's lists, which its destruction frees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Direct3D9.h"

using TWordArray = std::vector<std::uint16_t>;
using TSingleArray = std::vector<float>;

// A vertex in the layout of the mesh kind "MESH_SPRITE" (28 bytes).
struct T3D_SpriteVertex {
  float X, Y, Z, RHW;
  float U, V;
  std::uint32_t Color;
};
static_assert(sizeof(T3D_SpriteVertex) == 28);
using T3D_VertexArray_Sprite = std::vector<T3D_SpriteVertex>;

struct T3D_BoneFrame {
  std::int32_t Time = 0;
  std::int32_t Flags = 0;
};
struct T3D_BoneTrack {
  TSingleArray Values;
  std::vector<T3D_BoneFrame> Frames;
};
struct T3D_Bone {
  std::string Name;
  std::vector<T3D_BoneTrack> Tracks;
};
struct T3D_Animation {
  std::string Name;
};
struct T3D_Skin {
  std::vector<T3D_Bone> Bones;
  std::vector<T3D_Animation> Animations;
};

struct T3D_ConstantField {
  std::int32_t Value = 0;
  std::string Name;
};
struct T3D_Constant {
  std::string Name;
  std::vector<T3D_ConstantField> Fields;
};

class T3D_UniversalResource {
 public:
  std::string Name;
  std::string FileName;
};

class T3D_BaseMesh : public T3D_UniversalResource {
 public:
  std::string MaterialName;
};

struct T3D_MeshSubset {
  std::int32_t FirstIndex = 0;
  std::int32_t IndexCount = 0;
};
struct T3D_MeshBounds {
  float Min[3] = {};
  float Max[3] = {};
};

class T3D_Mesh : public T3D_BaseMesh {
 public:
  TD3DRef<IDirect3DVertexBuffer9R> VertexBuffer;
  TD3DRef<IDirect3DIndexBuffer9R> IndexBuffer;
  TWordArray Indices;
  T3D_Skin Skin;
  std::vector<T3D_MeshSubset> Subsets;
  std::vector<T3D_MeshBounds> Bounds;
  std::int32_t Kind = 0;
};

struct T3D_Glyph {
  std::int16_t X = 0, Y = 0, Width = 0, Height = 0;
};

class T3D_Font : public T3D_UniversalResource {
 public:
  std::vector<std::int32_t> Advances;
  std::vector<T3D_Glyph> Glyphs;
};

struct T3D_SpriteFrame {
  std::int32_t First = 0;
  std::int32_t Count = 0;
};
struct T3D_SpriteText {
  std::int32_t Font = 0;
  std::string Text;
};

class T3D_Sprite {
 public:
  TWordArray Indices;
  T3D_VertexArray_Sprite Vertices;
  T3D_VertexArray_Sprite TextVertices;
  std::vector<T3D_SpriteFrame> Frames;
  std::vector<T3D_SpriteText> Texts;
};
