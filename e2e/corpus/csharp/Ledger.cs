// A ledger written the way today's C# libraries are written.
global using System.Numerics;
global using static System.Math;
global using Range2 = (int Low, int High);

#nullable enable
using System;
using System.Collections;
using System.Collections.Generic;
using System.Diagnostics.CodeAnalysis;
using System.Runtime.CompilerServices;
using System.Text.Json.Serialization;

namespace Acme.Ledger;

/// <summary>Something with a zero.</summary>
/// <typeparam name="TSelf">The type itself.</typeparam>
public interface IZero<TSelf> where TSelf : IZero<TSelf>
{
    /// <summary>The zero value.</summary>
    static abstract TSelf Zero { get; }

    /// <summary>Whether the value is zero.</summary>
    bool IsZero => Equals(this, TSelf.Zero);

    /// <summary>Adds two values.</summary>
    static virtual TSelf Add(TSelf a, TSelf b) => throw new NotSupportedException();
}

/// <summary>An amount of money.</summary>
/// <param name="Units">Whole units.</param>
/// <param name="Currency">The currency code.</param>
[JsonConverter(typeof(MoneyConverter))]
public readonly record struct Money(
    [property: JsonPropertyName("units")] decimal Units,
    [property: JsonPropertyName("currency")] string Currency = "EUR") : IZero<Money>, IComparable<Money>
{
    /// <inheritdoc/>
    public static Money Zero => new(0m);

    /// <summary>Adds two amounts of one currency.</summary>
    public static Money operator +(Money a, Money b) => a with { Units = a.Units + b.Units };

    /// <summary>Adds with an overflow check.</summary>
    public static Money operator checked +(Money a, Money b) => new(checked(a.Units + b.Units), a.Currency);

    /// <summary>The whole units.</summary>
    public static explicit operator decimal(Money m) => m.Units;

    /// <inheritdoc/>
    public int CompareTo(Money other) => Units.CompareTo(other.Units);

    /// <inheritdoc/>
    int IComparable<Money>.CompareTo(Money other) => CompareTo(other);
}

/// <summary>One line of the ledger.</summary>
public sealed class Entry
{
    /// <summary>When it was booked.</summary>
    public required DateOnly Date { get; init; }

    /// <summary>What it is about.</summary>
    public string? Memo { get; set; }

    /// <summary>How much.</summary>
    public Money Amount { get; init; } = Money.Zero;

    /// <summary>The account, never empty.</summary>
    public string Account
    {
        get => field;
        set => field = string.IsNullOrEmpty(value) ? throw new ArgumentException(null, nameof(value)) : value;
    } = "cash";

    /// <summary>Sorts entries by date.</summary>
    public static readonly Comparison<Entry> ByDate = static (a, b) => a.Date.CompareTo(b.Date);
}

/// <summary>Keeps entries in order.</summary>
/// <typeparam name="TEntry">The kind of entry.</typeparam>
/// <param name="name">The ledger's name.</param>
/// <param name="clock">Tells the date.</param>
public partial class Ledger<TEntry>(string name, Func<DateOnly> clock) : IEnumerable<TEntry>, IDisposable
    where TEntry : Entry, new()
{
    private readonly List<TEntry> entries = [];

    /// <summary>The ledger's name.</summary>
    public string Name { get; } = name;

    /// <summary>Raised after a booking.</summary>
    public event EventHandler<TEntry>? Booked;

    /// <summary>Raised before a booking; can be refused.</summary>
    public event EventHandler? Booking
    {
        add => bookingHandlers += value;
        remove => bookingHandlers -= value;
    }

    private EventHandler? bookingHandlers;

    /// <summary>The entry at a place.</summary>
    public TEntry this[int index] => entries[index];

    /// <summary>The entries of a day.</summary>
    public IEnumerable<TEntry> this[DateOnly day] => entries.Where(e => e.Date == day);

    /// <summary>Books an entry dated today.</summary>
    [return: NotNull]
    public TEntry Book(Money amount, string? memo = null)
    {
        var entry = new TEntry { Date = clock(), Amount = amount, Memo = memo };
        entries.Add(entry);
        Booked?.Invoke(this, entry);
        return entry;
    }

    /// <summary>Books several amounts.</summary>
    public void BookAll(params ReadOnlySpan<Money> amounts)
    {
        foreach (var a in amounts) Book(a);
    }

    /// <summary>The smallest and largest amount.</summary>
    public (Money Min, Money Max) Range() => (entries.Min(e => e.Amount), entries.Max(e => e.Amount));

    /// <summary>Names the size of an amount.</summary>
    public static string Size(Money m) => m.Units switch
    {
        < 0 => "debit",
        0 => "none",
        >= 1_000_000 => "large",
        _ => "credit",
    };

    /// <summary>Describes a run of entries.</summary>
    public static string Shape(TEntry[] run) => run switch
    {
        [] => "empty",
        [var one] => $"one of {one.Amount}",
        [_, .., { Memo: not null } last] => $"ends with {last.Memo}",
        _ => "many",
    };

    /// <summary>The ledger as JSON.</summary>
    public string ToJson() => $$"""
        { "name": "{{Name}}", "count": {{entries.Count}} }
        """;

    /// <summary>Reads entries as they come.</summary>
    public async IAsyncEnumerable<TEntry> StreamAsync([EnumeratorCancellation] CancellationToken token = default)
    {
        foreach (var e in entries)
        {
            await Task.Yield();
            yield return e;
        }
    }

    /// <summary>Sums amounts of any number type.</summary>
    public static T Sum<T>(IEnumerable<T> values) where T : INumber<T>
    {
        T total = T.Zero;
        foreach (var v in values) total += v;
        return total;
    }

    /// <inheritdoc/>
    public IEnumerator<TEntry> GetEnumerator() => entries.GetEnumerator();

    IEnumerator IEnumerable.GetEnumerator() => GetEnumerator();

    void IDisposable.Dispose() => entries.Clear();

    /// <summary>Partial: written by a generator.</summary>
    public partial int Count { get; }

    /// <summary>Partial: checked by a generator.</summary>
    partial void OnBooked(TEntry entry);

    /// <summary>Its name.</summary>
    public override string ToString() => Name;

    /// <summary>A page of entries.</summary>
    public sealed record Page(int Number, IReadOnlyList<TEntry> Items);
}

/// <summary>Turns one thing into another.</summary>
public delegate TOut Converter<in TIn, out TOut>(TIn input) where TIn : notnull;

/// <summary>Kinds of account.</summary>
public enum AccountKind
{
    /// <summary>What is owned.</summary>
    [JsonStringEnumMemberName("asset")] Asset,
    /// <summary>What is owed.</summary>
    Liability = 2,
}

/// <summary>A buffer of digits on the stack.</summary>
public unsafe ref struct Digits
{
    private fixed byte bytes[16];

    /// <summary>Calls back into native code.</summary>
    public delegate* unmanaged[Cdecl]<int, void> Callback;

    /// <summary>The bytes as a span.</summary>
    public Span<byte> AsSpan() => MemoryMarshal.CreateSpan(ref bytes[0], 16);

    /// <summary>UTF-8 text.</summary>
    public static ReadOnlySpan<byte> Prefix => "EUR"u8;
}

/// <summary>Helpers of the ledger.</summary>
public static class LedgerExtensions
{
    /// <summary>The total of a ledger.</summary>
    public static Money Total<T>(this Ledger<T> ledger) where T : Entry, new()
        => ledger.Aggregate(Money.Zero, (sum, e) => sum + e.Amount);

    /// <summary>Whether a memo says something.</summary>
    public static bool HasMemo(this Entry e) => e is { Memo.Length: > 0 };

#if DEBUG
    /// <summary>Dumps a ledger.</summary>
    public static void Dump<T>(this Ledger<T> ledger) where T : Entry, new() { }
#endif
}

/// <summary>Reads money from JSON.</summary>
file sealed class MoneyConverter : JsonConverter<Money>;

/// <summary>An account without a body of its own.</summary>
public sealed class Account(string Code) : IEquatable<Account>
{
    /// <summary>The account's code.</summary>
    public string Code { get; } = Code;

    /// <inheritdoc/>
    bool IEquatable<Account>.Equals(Account? other) => other?.Code == Code;

    /// <summary>Releases nothing.</summary>
    ~Account() { }

    static Account() { }
}
