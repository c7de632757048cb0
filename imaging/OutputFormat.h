#pragma once

// The file formats an output can be written in. JPEG is always made; WebP and AVIF beside it
// when the profile asks for them.
enum class OutputFormat
{
    Jpeg,
    Webp,
    Avif,
};
