#nullable enable
using System;
using System.Collections.Generic;
using System.Text.Json.Serialization;

namespace Acme.Inventory;

/// <summary>A stock keeping unit.</summary>
/// <param name="Code">The unit's code.</param>
public sealed record Sku(string Code, int Pack = 1)
{
    /// <summary>The code in upper case.</summary>
    public string Upper => Code.ToUpperInvariant();

    /// <summary>Parses a code such as "AB-12".</summary>
    public static Sku Parse(string text) => new(text.Trim());
}

/// <summary>A position on a shelf.</summary>
public readonly record struct Slot(int Row, int Column);

/// <summary>A price with its currency.</summary>
public record class Price(decimal Amount, string Currency) : IComparable<Price>
{
    /// <summary>Compares two prices of one currency.</summary>
    public int CompareTo(Price? other) => other is null ? 1 : Amount.CompareTo(other.Amount);

    /// <summary>Formats the price.</summary>
    public override string ToString() => $"{Amount:0.00} {Currency}";
}

/// <summary>An item of the inventory.</summary>
[Serializable]
[JsonConverter(typeof(JsonStringEnumConverter))]
public partial class Item
{
    /// <summary>Its unit.</summary>
    public required Sku Sku { get; init; }

    /// <summary>How many are held.</summary>
    public int Count { get; private set; }

    /// <summary>Where it lies, when known.</summary>
    public Slot? Where { get; set; } = null;

    /// <summary>The name shown.</summary>
    public string Name
    {
        get => name;
        set
        {
            if (string.IsNullOrWhiteSpace(value)) throw new ArgumentException("empty", nameof(value));
            name = value;
        }
    }

    private string name = "";

    /// <summary>A path on Windows.</summary>
    public const string Folder = @"C:\stock\";

    /// <summary>A template.</summary>
    public static readonly string Template = """
        {
          "name": "x"
        }
        """;

    /// <summary>Adds to the count.</summary>
    public void Add(int amount) => Count += amount;

    /// <summary>Adds one.</summary>
    public void Add() => Add(1);

    /// <summary>Describes the item.</summary>
    public string Describe() => $@"{Name} at {Where?.Row ?? 0}: ""{Sku.Code}"" {(Count > 1 ? "many" : "one")}";
}
